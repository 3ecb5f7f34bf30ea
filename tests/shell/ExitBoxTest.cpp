#include "Mouse.h"
#include "Screen.h"
#include "ScreenView.h"
#include "Shell.h"
#include "Translations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>
#include <gtest/gtest.h>

namespace {

// Answers the box that is open, after checking how it asks.
void answerWhenOpen(QMessageBox::StandardButton answer, bool& checked)
{
    QTimer::singleShot(0, [answer, &checked] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        EXPECT_EQ(box->windowTitle(), QString::fromUtf8("¿Estas seguro de querer Salir?"));
        EXPECT_EQ(box->text(), QString::fromUtf8("         Por favor confirma tu decisión"));
        EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Yes));
        checked = true;
        box->button(answer)->click();
    });
}

} // namespace

TEST(ExitBox, AsksTheQuestionInTheTitleAndAnswersYesOrNo)
{
    bool checked = false;
    answerWhenOpen(QMessageBox::No, checked);
    EXPECT_FALSE(shell::Shell::askExit(nullptr));
    EXPECT_TRUE(checked);

    checked = false;
    answerWhenOpen(QMessageBox::Yes, checked);
    EXPECT_TRUE(shell::Shell::askExit(nullptr));
    EXPECT_TRUE(checked);
}

TEST(ExitBox, OnASpanishDesktopTheButtonsSaySiAndNo)
{
    QTranslator* spanish = shell::installQtTranslations(QLocale(QLocale::Spanish, QLocale::Spain));
    ASSERT_TRUE(spanish) << "Qt's Spanish translations are not installed";
    QString yes, no;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        yes = box->button(QMessageBox::Yes)->text();
        no = box->button(QMessageBox::No)->text();
        box->button(QMessageBox::No)->click();
    });
    shell::Shell::askExit(nullptr);
    QCoreApplication::removeTranslator(spanish);
    delete spanish;
    EXPECT_EQ(yes.remove(QLatin1Char('&')), QString::fromUtf8("Sí"));
    EXPECT_EQ(no.remove(QLatin1Char('&')), QStringLiteral("No"));
}

TEST(ExitBox, WhileTheQuestionIsOpenTheScreenBeneathTakesNoDrop)
{
    shell::Shell shell(QStringLiteral("/opt/numbali"));
    shell.setQuit([] {});
    shell.view().resize(692, 475);
    shell.view().show();
    shell.switchTo(QStringLiteral("Colores2"));
    screens::Screen& screen = *shell.currentScreen();
    auto& view = shell.view();
    const QPoint piece = view.centreOf(*screen.control(QStringLiteral("Image12")));
    const QPoint slot = view.centreOf(*screen.control(QStringLiteral("Image1")));
    bool tried = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        mouse::drag(&view, piece, slot); // the right piece on its slot
        tried = true;
        box->button(QMessageBox::No)->click();
    });
    mouse::click(&view, view.centreOf(*screen.control(QStringLiteral("Image19")))); // the exit door
    ASSERT_TRUE(tried);
    EXPECT_TRUE(screen.control(QStringLiteral("Image12"))->isVisible());
    EXPECT_FALSE(screen.control(QStringLiteral("Image4"))->isVisible());
    // Once the box is answered, the same drop is taken.
    mouse::drag(&view, piece, slot);
    EXPECT_TRUE(screen.control(QStringLiteral("Image4"))->isVisible());
}
