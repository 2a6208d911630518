// The small widgets: bitmap conversion, picture placement, the collapsing
// splitter, the drag panel and the round buttons.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <QVBoxLayout>

#include "bitmap_image.h"
#include "collapse_splitter.h"
#include "drag_panel.h"
#include "gui_resources.h"
#include "jet_button.h"
#include "picture_box.h"

namespace morvex::gui {
namespace {

TEST(BitmapImage, TwentyFourBitPixelsKeepTheirColours) {
  Bitmap b(3, 2, PixelFormat::Rgb24);
  b.setPixel(1, 0, MakeColour(255, 0, 0));
  b.setPixel(2, 1, MakeColour(0, 10, 250));
  const QImage image = ToQImage(b);
  ASSERT_EQ(image.size(), QSize(3, 2));
  EXPECT_EQ(image.pixel(1, 0), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(2, 1), qRgb(0, 10, 250));
  EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));  // a new bitmap is white

  const Bitmap back = FromQImage(image);
  ASSERT_EQ(back.width(), 3);
  EXPECT_EQ(back.pixel(1, 0), MakeColour(255, 0, 0));
  EXPECT_EQ(back.pixel(2, 1), MakeColour(0, 10, 250));
}

TEST(BitmapImage, EightBitPixelsShowTheirPaletteColours) {
  Bitmap b(2, 1, PixelFormat::Indexed8);
  const Rgb palette[] = {{10, 20, 30}, {200, 100, 0}};
  b.setPaletteEntries(palette);
  b.row(0)[0] = 1;
  b.row(0)[1] = 0;
  const QImage image = ToQImage(b);
  EXPECT_EQ(image.pixel(0, 0), qRgb(200, 100, 0));
  EXPECT_EQ(image.pixel(1, 0), qRgb(10, 20, 30));
}

struct Placement {
  QSize image, box;
  QRect expected;
};

TEST(PictureBox, CentresShrinksButNeverEnlarges) {
  const Placement cases[] = {
      {{100, 50}, {200, 200}, {50, 75, 100, 50}},   // smaller: natural size, centred
      {{400, 200}, {200, 200}, {0, 50, 200, 100}},  // wider: shrunk to the width
      {{200, 400}, {100, 100}, {25, 0, 50, 100}},   // taller: shrunk to the height
      {{200, 200}, {200, 200}, {0, 0, 200, 200}},   // exactly fitting
  };
  for (const Placement& c : cases)
    EXPECT_EQ(PlacedImageRect(c.image, c.box), c.expected) << c.image.width() << "x" << c.image.height();
}

// A splitter of three panels whose handles collapse the outer two.
class SplitterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.resize(600, 200);
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    splitter = new CollapseSplitter(Qt::Horizontal);
    for (int i = 0; i < 3; ++i) splitter->addWidget(new QLabel(QString::number(i)));
    splitter->setCollapseTarget(1, 0);
    splitter->setCollapseTarget(2, 2);
    layout->addWidget(splitter);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    splitter->setSizes({150, 250, 186});
  }

  void clickGrip(int handle) {
    auto* h = static_cast<CollapseHandle*>(splitter->handle(handle));
    QTest::mouseClick(h, Qt::LeftButton, {}, h->gripRect().center());
  }

  QWidget window;
  CollapseSplitter* splitter = nullptr;
};

TEST_F(SplitterTest, AClickOnTheGripCollapsesAndRestoresTheNeighbour) {
  const int before = splitter->sizes()[2];
  clickGrip(2);
  EXPECT_TRUE(splitter->isCollapsed(2));
  EXPECT_FALSE(splitter->isCollapsed(0));
  clickGrip(2);
  EXPECT_FALSE(splitter->isCollapsed(2));
  EXPECT_EQ(splitter->sizes()[2], before);

  clickGrip(1);
  EXPECT_TRUE(splitter->isCollapsed(0));
  EXPECT_FALSE(splitter->isCollapsed(2));
}

TEST_F(SplitterTest, DraggingTheHandleMovesItWithoutCollapsing) {
  auto* h = static_cast<CollapseHandle*>(splitter->handle(1));
  const int before = splitter->sizes()[0];
  const QPoint start = h->gripRect().center();
  QTest::mousePress(h, Qt::LeftButton, {}, start);
  QTest::mouseMove(h, start + QPoint(30, 0));
  QTest::mouseRelease(h, Qt::LeftButton, {}, start + QPoint(30, 0));
  EXPECT_FALSE(splitter->isCollapsed(0));
  EXPECT_EQ(splitter->sizes()[0], before + 30);
}

TEST_F(SplitterTest, AClickBesideTheGripDoesNothing) {
  auto* h = static_cast<CollapseHandle*>(splitter->handle(2));
  QTest::mouseClick(h, Qt::LeftButton, {}, QPoint(h->width() / 2, 2));
  EXPECT_FALSE(splitter->isCollapsed(2));
}

TEST(DragPanel, DraggingMovesTheWindowAlsoThroughItsLabels) {
  QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
  window.resize(300, 100);
  auto* panel = new DragPanel(Qt::blue, Qt::white, &window);
  panel->setGeometry(0, 0, 300, 28);
  auto* label = new QLabel(QStringLiteral("title"), panel);
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  label->setGeometry(40, 0, 200, 28);
  window.move(100, 100);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const QPoint before = window.pos();
  // The label lets the events through to the panel below it.
  EXPECT_EQ(window.childAt(60, 10), panel);
  QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(60, 10));
  QTest::mouseMove(panel, QPoint(80, 25));
  QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(80, 25));
  EXPECT_EQ(window.pos(), before + QPoint(20, 15));
}

TEST(GuiResources, ThePicturesHaveTheirSizes) {
  InitGuiResources();
  EXPECT_EQ(QImage(kSplashPicture).size(), QSize(628, 466));
  // Four 25 x 25 images side by side.
  EXPECT_EQ(QImage(kBlueButtonStrip).size(), QSize(100, 25));
  EXPECT_EQ(QImage(kGreyButtonStrip).size(), QSize(100, 25));
  EXPECT_EQ(QImage(kProgramIcon).size(), QSize(64, 64));
}

TEST(JetButton, ShowsTheStripImageOfItsState) {
  QPixmap strip(100, 25);
  strip.fill(Qt::black);
  JetButton button(strip);
  button.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
  button.setAttribute(Qt::WA_UnderMouse, false);
  EXPECT_EQ(button.currentFrame(), JetButton::Frame::Normal);
  button.setAttribute(Qt::WA_UnderMouse, true);
  EXPECT_EQ(button.currentFrame(), JetButton::Frame::Hovered);
  button.setDown(true);
  EXPECT_EQ(button.currentFrame(), JetButton::Frame::Pressed);
  button.setDown(false);
  button.setEnabled(false);
  EXPECT_EQ(button.currentFrame(), JetButton::Frame::Disabled);
  // Round: the corners are not part of the button.
  EXPECT_FALSE(button.mask().contains(QPoint(0, 0)));
  EXPECT_TRUE(button.mask().contains(QPoint(12, 12)));
}

}  // namespace
}  // namespace morvex::gui
