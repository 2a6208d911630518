// The progress window: its shape and the pie that SetProgress draws.
#include <gtest/gtest.h>

#include <QTest>

#include "pie_chart.h"
#include "progress_form.h"

namespace morvex::gui {
namespace {

QColor CentreOfPie(TProgressForm& form) {
  const QImage image = form.chart()->grab().toImage();
  // The pie's face lies a little above the middle (its side wall below).
  return image.pixelColor(image.width() / 2, image.height() / 2 - 15);
}

TEST(ProgressForm, IsAnEllipticalWindowOnTop) {
  TProgressForm form;
  EXPECT_EQ(form.size(), QSize(399, 253));
  EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
  const QRegion shape = form.mask();
  EXPECT_TRUE(shape.contains(QPoint(199, 126)));
  EXPECT_TRUE(shape.contains(QPoint(3, 126)));
  EXPECT_FALSE(shape.contains(QPoint(0, 126)));
  EXPECT_FALSE(shape.contains(QPoint(5, 5)));
  EXPECT_FALSE(shape.contains(QPoint(393, 247)));
  EXPECT_FALSE(form.isVisible());  // shown only by a folder run
}

TEST(ProgressForm, TheNavyPartIsStillToDoAndTheYellowPartDone) {
  TProgressForm form;
  form.SetProgress(0, 5);
  ASSERT_EQ(form.chart()->slices().size(), 2);
  EXPECT_EQ(form.chart()->slices()[0].value, 5);
  EXPECT_EQ(form.chart()->slices()[0].colour, QColor(0, 0, 128));
  EXPECT_EQ(form.chart()->slices()[1].value, 0);
  EXPECT_EQ(form.chart()->slices()[1].colour, QColor(255, 255, 0));
  EXPECT_EQ(CentreOfPie(form), QColor(0, 0, 128));

  form.SetProgress(5, 5);
  EXPECT_EQ(form.chart()->slices()[0].value, 0);
  EXPECT_EQ(form.chart()->slices()[1].value, 5);
  EXPECT_EQ(CentreOfPie(form), QColor(255, 255, 0));

  // Half done: both colours on the face.
  form.SetProgress(2, 4);
  const QImage image = form.chart()->grab().toImage();
  bool navy = false, yellow = false;
  for (int x = 0; x < image.width(); ++x) {
    const QColor c = image.pixelColor(x, image.height() / 2 - 15);
    navy = navy || c == QColor(0, 0, 128);
    yellow = yellow || c == QColor(255, 255, 0);
  }
  EXPECT_TRUE(navy);
  EXPECT_TRUE(yellow);
}

TEST(ProgressForm, NothingToDoDrawsNoPie) {
  TProgressForm form;
  form.SetProgress(0, 0);
  const QColor c = CentreOfPie(form);
  EXPECT_NE(c, QColor(0, 0, 128));
  EXPECT_NE(c, QColor(255, 255, 0));
}

}  // namespace
}  // namespace morvex::gui
