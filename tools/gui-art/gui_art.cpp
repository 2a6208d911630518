// gui-art: draws the desktop window's pictures.
//
//   gui-art OUTPUT_FOLDER
//
// writes splash.png (628 x 466, banknotes under a magnifying glass),
// jet_blue.png and jet_grey.png (the round title-bar buttons: four 25 x 25
// images side by side, normal, disabled, pressed, hovered), bgimg.jpg (the
// pages' background, 300 x 5, light blue at both ends and white in the
// middle) and morvex-demo.png (the program's icon, 64 x 64).
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QString>
#include <cmath>
#include <cstdio>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct NoteStyle {
  QColor paper;
  QColor ink;
  QString value;
};

// One stylised banknote, 300 x 130, drawn with its top-left corner at the
// origin: tinted paper, a guilloche band, the face value and a serial number.
void DrawNote(QPainter& p, const NoteStyle& style, const QString& serial) {
  const QRectF note(0, 0, 300, 130);
  QLinearGradient paper(note.topLeft(), note.bottomRight());
  paper.setColorAt(0, style.paper.lighter(118));
  paper.setColorAt(1, style.paper);
  p.setPen(QPen(style.ink.darker(120), 1.2));
  p.setBrush(paper);
  p.drawRoundedRect(note, 4, 4);

  // Guilloche: overlapping sine waves across the middle.
  p.setBrush(Qt::NoBrush);
  for (int k = 0; k < 7; ++k) {
    QPainterPath wave;
    for (int x = 8; x <= 292; x += 2) {
      const double y = 65 + 22 * std::sin((x + k * 9) * kPi / 37.0) * std::cos((x - k * 5) * kPi / 151.0);
      if (x == 8)
        wave.moveTo(x, y);
      else
        wave.lineTo(x, y);
    }
    QColor c = style.ink;
    c.setAlpha(70);
    p.setPen(QPen(c, 1.0));
    p.drawPath(wave);
  }
  // A rosette on the left.
  for (int k = 0; k < 24; ++k) {
    QColor c = style.ink;
    c.setAlpha(60);
    p.setPen(QPen(c, 0.8));
    p.save();
    p.translate(60, 65);
    p.rotate(k * 15);
    p.drawEllipse(QRectF(-8, -30, 16, 60));
    p.restore();
  }
  // Face value.
  QFont big(QStringLiteral("DejaVu Serif"));
  big.setPixelSize(40);
  big.setBold(true);
  p.setFont(big);
  p.setPen(style.ink);
  p.drawText(QRectF(150, 14, 140, 50), Qt::AlignRight | Qt::AlignVCenter, style.value);
  QFont small(QStringLiteral("DejaVu Sans"));
  small.setPixelSize(11);
  small.setBold(true);
  p.setFont(small);
  p.drawText(QRectF(150, 60, 140, 16), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("РУБЛЕЙ"));
  // Serial number, red, at the bottom right.
  QFont mono(QStringLiteral("DejaVu Sans Mono"));
  mono.setPixelSize(15);
  mono.setBold(true);
  p.setFont(mono);
  p.setPen(QColor(200, 30, 30));
  p.drawText(QRectF(130, 96, 160, 24), Qt::AlignRight | Qt::AlignVCenter, serial);
}

QImage DrawSplash() {
  QImage image(628, 466, QImage::Format_RGB32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);

  // A dark desk.
  QRadialGradient desk(QPointF(314, 200), 420);
  desk.setColorAt(0, QColor(58, 66, 92));
  desk.setColorAt(1, QColor(14, 16, 28));
  p.fillRect(image.rect(), desk);

  const NoteStyle notes[] = {
      {QColor(190, 160, 200), QColor(90, 40, 110), QStringLiteral("500")},
      {QColor(170, 200, 220), QColor(30, 70, 120), QStringLiteral("1000")},
      {QColor(200, 185, 150), QColor(100, 70, 30), QStringLiteral("100")},
      {QColor(175, 205, 170), QColor(40, 90, 40), QStringLiteral("50")},
  };
  const struct {
    double x, y, angle;
    const char* serial;
  } placed[] = {
      {70, 60, -12, "ЕЯ 4812390"},
      {270, 40, 9, "ИК 7306541"},
      {40, 230, 6, "БН 2290173"},
      {250, 215, -7, "АА 1234567"},
  };
  for (int i = 0; i < 4; ++i) {
    p.save();
    p.translate(placed[i].x, placed[i].y);
    p.rotate(placed[i].angle);
    // Shadow first.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawRoundedRect(QRectF(6, 8, 300, 130), 6, 6);
    DrawNote(p, notes[i], QString::fromUtf8(placed[i].serial));
    p.restore();
  }

  // The magnifying glass over the last note's serial number: the scene under
  // the lens drawn again, twice as large.
  const QPointF lens(462, 284);
  const double radius = 72;
  QImage scene = image.copy();
  QPainterPath circle;
  circle.addEllipse(lens, radius, radius);
  p.save();
  p.setClipPath(circle);
  p.translate(lens);
  p.scale(1.9, 1.9);
  p.translate(-lens);
  p.drawImage(0, 0, scene);
  p.restore();
  // Glass sheen.
  QRadialGradient sheen(lens - QPointF(25, 25), radius * 1.2);
  sheen.setColorAt(0, QColor(255, 255, 255, 70));
  sheen.setColorAt(0.5, QColor(255, 255, 255, 10));
  sheen.setColorAt(1, QColor(120, 160, 255, 40));
  p.setPen(Qt::NoPen);
  p.setBrush(sheen);
  p.drawEllipse(lens, radius, radius);
  // Handle.
  p.save();
  p.translate(lens);
  p.rotate(40);
  QLinearGradient wood(QPointF(0, -11), QPointF(0, 11));
  wood.setColorAt(0, QColor(120, 60, 30));
  wood.setColorAt(0.5, QColor(180, 100, 50));
  wood.setColorAt(1, QColor(80, 40, 20));
  p.setBrush(wood);
  p.drawRoundedRect(QRectF(radius + 14, -11, 120, 22), 9, 9);
  p.setBrush(QColor(150, 150, 160));
  p.drawRect(QRectF(radius + 2, -8, 14, 16));
  p.restore();
  // Rim.
  QLinearGradient rim(lens - QPointF(radius, radius), lens + QPointF(radius, radius));
  rim.setColorAt(0, QColor(235, 235, 245));
  rim.setColorAt(1, QColor(90, 90, 110));
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QBrush(rim), 10));
  p.drawEllipse(lens, radius, radius);

  // Name and version, well inside the part of the picture the window shows.
  QFont title(QStringLiteral("DejaVu Sans"));
  title.setPixelSize(38);
  title.setBold(true);
  p.setFont(title);
  p.setPen(QColor(0, 0, 0, 150));
  p.drawText(QRectF(42, 392, 400, 46), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Morvex Demo"));
  p.setPen(QColor(255, 230, 120));
  p.drawText(QRectF(40, 390, 400, 46), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Morvex Demo"));
  QFont sub(QStringLiteral("DejaVu Sans"));
  sub.setPixelSize(14);
  p.setFont(sub);
  p.setPen(QColor(220, 225, 240));
  p.drawText(QRectF(42, 430, 420, 20), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("распознавание номеров банкнот"));
  return image;
}

// One 25 x 25 sphere-like button face.
void DrawButtonFace(QPainter& p, const QRectF& box, const QColor& base, double light) {
  const QPointF c = box.center();
  QRadialGradient g(c - QPointF(box.width() * 0.18, box.height() * 0.22), box.width() * 0.75);
  g.setColorAt(0, base.lighter(static_cast<int>(100 + 90 * light)));
  g.setColorAt(0.55, base);
  g.setColorAt(1, base.darker(190));
  p.setPen(QPen(base.darker(230), 1));
  p.setBrush(g);
  p.drawEllipse(box.adjusted(0.5, 0.5, -0.5, -0.5));
  // A small highlight.
  QRadialGradient hi(c - QPointF(3.5, 5.5), 6);
  hi.setColorAt(0, QColor(255, 255, 255, static_cast<int>(150 * light + 30)));
  hi.setColorAt(1, QColor(255, 255, 255, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(hi);
  p.drawEllipse(QRectF(c.x() - 9, c.y() - 11, 12, 9));
}

// Normal, disabled, pressed, hovered, side by side.
QImage DrawButtonStrip(const QColor& base) {
  QImage strip(100, 25, QImage::Format_ARGB32_Premultiplied);
  strip.fill(Qt::transparent);
  QPainter p(&strip);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor grey(150, 150, 155);
  DrawButtonFace(p, QRectF(0, 0, 25, 25), base, 0.6);
  DrawButtonFace(p, QRectF(25, 0, 25, 25), grey, 0.3);
  DrawButtonFace(p, QRectF(50, 0, 25, 25), base.darker(135), 0.15);
  DrawButtonFace(p, QRectF(75, 0, 25, 25), base.lighter(125), 0.9);
  return strip;
}

QImage DrawBackground() {
  QImage image(300, 5, QImage::Format_RGB32);
  const QColor blue(196, 220, 250);
  for (int x = 0; x < image.width(); ++x) {
    // Distance from the middle, 0 there and 1 at either end, eased so the
    // middle stays white for a while.
    const double d = std::abs(x - (image.width() - 1) / 2.0) / ((image.width() - 1) / 2.0);
    const double t = std::pow(d, 2.2);
    const QColor c(static_cast<int>(std::lround(255 + (blue.red() - 255) * t)),
                   static_cast<int>(std::lround(255 + (blue.green() - 255) * t)),
                   static_cast<int>(std::lround(255 + (blue.blue() - 255) * t)));
    for (int y = 0; y < image.height(); ++y) image.setPixelColor(x, y, c);
  }
  return image;
}

QImage DrawIcon() {
  QImage icon(64, 64, QImage::Format_ARGB32_Premultiplied);
  icon.fill(Qt::transparent);
  QPainter p(&icon);
  p.setRenderHint(QPainter::Antialiasing);
  p.save();
  p.translate(4, 14);
  p.rotate(-8);
  p.scale(0.17, 0.21);
  DrawNote(p, {QColor(170, 200, 220), QColor(30, 70, 120), QStringLiteral("1000")}, QStringLiteral("АА 1234567"));
  p.restore();
  const QPointF lens(40, 36);
  p.setPen(QPen(QColor(80, 50, 30), 6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(lens + QPointF(10, 10), lens + QPointF(20, 20));
  p.setBrush(QColor(200, 225, 255, 110));
  p.setPen(QPen(QColor(70, 70, 90), 3.5));
  p.drawEllipse(lens, 14, 14);
  return icon;
}

bool Save(const QImage& image, const QString& path, const char* format, int quality = -1) {
  if (image.save(path, format, quality)) return true;
  std::fprintf(stderr, "gui-art: cannot write %s\n", qPrintable(path));
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gui-art OUTPUT_FOLDER\n");
    return 2;
  }
  QGuiApplication app(argc, argv);
  const QString out = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
  bool ok = Save(DrawSplash(), out + QStringLiteral("splash.png"), "PNG");
  ok = Save(DrawButtonStrip(QColor(40, 90, 200)), out + QStringLiteral("jet_blue.png"), "PNG") && ok;
  ok = Save(DrawButtonStrip(QColor(130, 130, 138)), out + QStringLiteral("jet_grey.png"), "PNG") && ok;
  ok = Save(DrawBackground(), out + QStringLiteral("bgimg.jpg"), "JPEG", 95) && ok;
  ok = Save(DrawIcon(), out + QStringLiteral("morvex-demo.png"), "PNG") && ok;
  return ok ? 0 : 1;
}
