#include "app/controller.h"

#include "app/workstation_panel.h"
#include "base/bundle.h"
#include "l10n/l10n.h"
#include "support/sample_reports.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
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
    EXPECT_EQ(collector.window()->windowTitle(),
              QStringLiteral("Tagsmith ") + tagsmith::base::Bundle::main().shortVersion);
    EXPECT_EQ(collector.window()->centralWidget()->size(), QSize(1060, 720));
}

TEST(Controller, ApplicationMenuOffersAboutAndQuitWithTheStandardShortcut) {
    Controller controller(false, {});
    const QList<QAction*> menus = controller.window()->menuBar()->actions();
    ASSERT_EQ(menus.size(), 1);
    const QList<QAction*> items = menus.front()->menu()->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text(), QStringLiteral("关于 Tagsmith"));
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_EQ(items[2]->text(), QStringLiteral("退出 Tagsmith"));
    EXPECT_EQ(items[2]->shortcut(), QKeySequence(QKeySequence::Quit));
}

TEST(Controller, ClosingTheWindowEndsTheApplication) {
    Controller controller(false, {});
    QTimer::singleShot(0, controller.window(), &QWidget::close);
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(99); });
    EXPECT_EQ(QApplication::exec(), 0);
}

TEST(Controller, WorkstationImportsTheFileGivenWithImportAtStart) {
    const QString file =
        tagsmith::test::reportFixture(QStringLiteral("valid/FVFDL3Q2Q6L4_2025-02-11T03-07-52Z.macreport"));
    Controller importing(false, {QStringLiteral("VOREvo"), QStringLiteral("--import"), file});
    ASSERT_TRUE(importing.workstation()->report());
    EXPECT_EQ(importing.workstation()->report()->serial, QStringLiteral("FVFDL3Q2Q6L4"));

    QDir().mkpath(tagsmith::test::buildPath(QStringLiteral("test-artifacts")));
    importing.window()->grab().save(tagsmith::test::buildPath(QStringLiteral("test-artifacts/workstation-window.png")));

    Controller bare(false, {QStringLiteral("VOREvo"), QStringLiteral("--import")});
    EXPECT_FALSE(bare.workstation()->report());
    Controller extra(false, {QStringLiteral("VOREvo"), QStringLiteral("--import"), file, QStringLiteral("x")});
    EXPECT_FALSE(extra.workstation()->report());
}

TEST(Controller, WorkstationShowsTheCableReceiversStatus) {
    Controller workstation(false, {});
    const QLabel* status = workstation.workstation()->findChildren<QLabel*>().at(1);
    EXPECT_TRUE(tagsmith::test::waitUntil([&] {
        return status->text() == QStringLiteral("等待通过数据线连接被测 MacBook…");
    })) << "no Mac on the cable of a machine without remotectl";
}
