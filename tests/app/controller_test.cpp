#include "app/controller.h"

#include "l10n/l10n.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>

using tagsmith::app::Controller;

TEST(Controller, EachRoleHasItsWindowTitleAndContentSize) {
    Controller workstation(false, {});
    EXPECT_EQ(workstation.window()->windowTitle(), QStringLiteral("Tagsmith · 数据线接收版"));
    EXPECT_EQ(workstation.window()->centralWidget()->size(), QSize(700, 580));
    EXPECT_TRUE(workstation.window()->isVisible());

    Controller collector(true, {});
    EXPECT_EQ(collector.window()->windowTitle(), QStringLiteral("Tagsmith ")) << "no short version outside a bundle";
    EXPECT_EQ(collector.window()->centralWidget()->size(), QSize(1060, 720));
}

TEST(Controller, ApplicationMenuOffersAboutAndQuitWithTheStandardShortcut) {
    Controller controller(false, {});
    const QList<QAction*> menus = controller.window()->menuBar()->actions();
    ASSERT_EQ(menus.size(), 1);
    const QList<QAction*> items = menus.front()->menu()->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text(), tagsmith::L10n::t(QStringLiteral("inspector.about")));
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_EQ(items[2]->text(), tagsmith::L10n::t(QStringLiteral("common.quit")));
    EXPECT_EQ(items[2]->shortcut(), QKeySequence(QKeySequence::Quit));
}

TEST(Controller, ClosingTheWindowEndsTheApplication) {
    Controller controller(false, {});
    QTimer::singleShot(0, controller.window(), &QWidget::close);
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(99); });
    EXPECT_EQ(QApplication::exec(), 0);
}
