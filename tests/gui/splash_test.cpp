// Start-up: the splash window makes the main window on its timer's tick.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>

#include "gui_support.h"
#include "splash_form.h"

namespace morvex::gui::test {
namespace {

TEST(Splash, ShowsThePictureThenHandsOverToTheMainWindow) {
  RecordingMessages messages;
  TProgressForm progress;
  TForm2 splash(progress, messages);
  EXPECT_EQ(splash.size(), QSize(600, 445));
  EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(splash.cursor().shape(), Qt::WaitCursor);
  const auto* picture = splash.findChild<QLabel*>(QStringLiteral("SplashPicture"));
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->pixmap().size(), QSize(628, 466));

  int shownSignals = 0;
  QObject::connect(&splash, &TForm2::mainWindowShown, [&] { ++shownSignals; });
  splash.show();
  EXPECT_EQ(splash.moneyForm(), nullptr);  // nothing before the first activation and tick
  splash.activateWindow();
  ASSERT_TRUE(QTest::qWaitFor([&] { return shownSignals == 1; }, 5000));
  ASSERT_NE(splash.moneyForm(), nullptr);
  EXPECT_TRUE(splash.moneyForm()->isVisible());
  EXPECT_TRUE(splash.moneyForm()->referenceDigits().loaded());
  EXPECT_TRUE(splash.isHidden());  // hidden, not destroyed
  EXPECT_FALSE(progress.isVisible());

  // Activating the splash again makes no second main window.
  splash.FormActivate();
  QTest::qWait(300);
  EXPECT_EQ(shownSignals, 1);
}

}  // namespace
}  // namespace morvex::gui::test
