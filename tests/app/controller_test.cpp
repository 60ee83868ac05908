#include "app/controller.h"

#include "app/application_run.h"
#include "app/collector_panel.h"
#include "app/workstation_panel.h"
#include "base/bundle.h"
#include "base/process_values.h"
#include "inspection/media/media_runtime.h"
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

#include <future>

#include <unistd.h>

using tagsmith::app::Controller;
using tagsmith::inspection::media::MediaRuntime;

namespace {

// The collector in preview mode, as the bundle starts it with --inspection-preview,
// told to quit from its menu while a camera call never returns. Ends the process.
[[noreturn]] void quitTheCollectorWhileACameraCallHangs() {
    tagsmith::setProcessValues({true, true});
    static std::promise<void> never;
    MediaRuntime::cameraQueue().async([hanging = never.get_future().share()] { hanging.wait(); });
    QTimer::singleShot(0, qApp, [] {
        alarm(5); // the process has 5 s from the quit to end, or SIGALRM ends it
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* main = qobject_cast<QMainWindow*>(window))
                main->menuBar()->actions().front()->menu()->actions().back()->trigger();
        }
    });
    tagsmith::app::runApplication(true, {QStringLiteral("VOREvo"), QStringLiteral("--inspection-preview")});
}

} // namespace

TEST(Controller, EachRoleHasItsTitleMenuAndFirstStatus) {
    Controller workstation(false, {});
    EXPECT_EQ(workstation.window()->windowTitle(), QStringLiteral("Tagsmith · 数据线接收版"));
    const QList<QAction*> menus = workstation.window()->menuBar()->actions();
    ASSERT_EQ(menus.size(), 1);
    const QList<QAction*> items = menus.front()->menu()->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text(), QStringLiteral("关于 Tagsmith"));
    EXPECT_EQ(items[2]->text(), QStringLiteral("退出 Tagsmith"));
    const QLabel* status = workstation.workstation()->findChildren<QLabel*>().at(1);
    EXPECT_TRUE(tagsmith::test::waitUntil([&] {
        return status->text() == QStringLiteral("等待通过数据线连接被测 MacBook…");
    })) << "no Mac on the cable of a machine without remotectl";

    Controller collector(true, {});
    EXPECT_EQ(collector.window()->windowTitle(),
              QStringLiteral("Tagsmith ") + tagsmith::base::Bundle::main().shortVersion);

    // Statuses show file names, device, peer and relay errors: markup in them is never interpreted.
    for (const Controller* role : {&workstation, &collector}) {
        for (const QLabel* label : role->window()->findChildren<QLabel*>())
            EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->text().toStdString();
    }
}

TEST(Controller, ClosingTheWindowEndsTheApplication) {
    Controller controller(false, {});
    QTimer::singleShot(0, controller.window(), &QWidget::close);
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(99); });
    EXPECT_EQ(QApplication::exec(), 0);
}

TEST(ControllerDeathTest, CollectorProcessEndsAfterItsQuitWaitEvenIfACameraCallNeverReturns) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(quitTheCollectorWhileACameraCallHangs(), testing::ExitedWithCode(0), "");
}

TEST(Controller, BothRolesImportTheFileGivenWithImportAtStart) {
    const QString file =
        tagsmith::test::reportFixture(QStringLiteral("valid/FVFDL3Q2Q6L4_2025-02-11T03-07-52Z.macreport"));
    Controller collector(true, {QStringLiteral("VOREvo"), QStringLiteral("--import"), file});
    ASSERT_TRUE(collector.collector()->report());
    EXPECT_EQ(collector.collector()->report()->serial, QStringLiteral("FVFDL3Q2Q6L4"));
    EXPECT_EQ(collector.collector()->status(),
              QStringLiteral("已导入 FVFDL3Q2Q6L4_2025-02-11T03-07-52Z.macreport。请核对整机序列号，随后预览打印。"));

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
