#include "app/history_view.h"

#include "ledger/history_model.h"
#include "ledger/ledger.h"
#include "support/generated_reports.h"
#include "support/paths.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>

using namespace tagsmith;

TEST(HistoryView, FetchesPagesAsItScrollsSearchesAndShowsTheChosenReport) {
    QTemporaryDir data;
    const QString reports = ledger::Ledger::reportsFolderIn(data.path());
    test::writeGeneratedReports(reports, 450);
    ASSERT_EQ(ledger::Ledger::open(ledger::Ledger::pathIn(data.path()))->rebuild(reports)->rows, 450);

    QWidget window;
    window.setFixedSize(700, 580);
    app::HistoryView view(ledger::Ledger::pathIn(data.path()), reports, &window);
    window.show();
    auto* table = view.findChild<QTableView*>();
    ASSERT_TRUE(test::waitUntil([table] { return table->model()->rowCount() > 0; }));
    EXPECT_EQ(table->model()->rowCount(), ledger::HistoryModel::kPageRows) << "one page, not the whole ledger";
    for (int scrolls = 0; scrolls < 4; ++scrolls) {
        table->scrollToBottom();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(table->model()->rowCount(), 450);

    view.search(QStringLiteral("n00012"));
    ASSERT_EQ(table->model()->rowCount(), 10);
    table->selectRow(1);
    ASSERT_TRUE(view.chosen());
    EXPECT_EQ(view.chosen()->serial, QStringLiteral("GEN000128"));

    QFile::remove(QDir(reports).filePath(view.chosenFile()));
    table->selectRow(0);
    table->selectRow(1);
    EXPECT_FALSE(view.chosen()) << "a report file removed since shows a message instead";

    table->selectRow(0);
    QDir().mkpath(test::buildPath(QStringLiteral("test-artifacts")));
    window.grab().save(test::buildPath(QStringLiteral("test-artifacts/history-panel.png")));
}
