#include "Screen.h"
#include "ScreenView.h"
#include "Shell.h"
#include "SoakDriver.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

// Ten thousand random gestures over the whole program, with its real movies: nothing
// crashes, and after every gesture the program is in a state the game can reach.
TEST(Soak, TenThousandRandomGesturesLeaveEveryScreenConsistent)
{
    shell::Shell shell(QStringLiteral(NUMBALI_PROGRAM_MOVIES));
    int quits = 0;
    shell.setQuit([&quits] { ++quits; });
    shell.start();
    shell.view().resize(692, 475);
    SoakDriver driver(shell, 20261208);
    for (int i = 1; i <= 10000; ++i) {
        driver.step();
        if (i % 25 == 0)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
        QString why;
        ASSERT_TRUE(driver.consistent(&why)) << "after gesture " << i << ": " << qPrintable(why);
    }
    EXPECT_EQ(quits, 0);
    EXPECT_GT(driver.exitQuestions(), 0);
    EXPECT_EQ(driver.visited().size(), shell.catalog().names().size()) << qPrintable(QStringList(driver.visited().values()).join(QLatin1Char(' ')));
}
