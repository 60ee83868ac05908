#include "app/history_view.h"

#include "app/frames.h"
#include "app/report_display.h"
#include "collect/configuration_view.h"
#include "ledger/history_model.h"
#include "report/report_file.h"
#include "report/validation.h"

#include <QDir>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace tagsmith::app {

HistoryView::HistoryView(const QString& ledgerPath, QString reportsFolder, QWidget* parent)
    : QWidget(parent), m_reportsFolder(std::move(reportsFolder)), m_model(new ledger::HistoryModel(ledgerPath, this)) {
    setAutoFillBackground(true);
    setGeometry(parent->rect());
    buildControls();
}

void HistoryView::buildControls() {
    placed(wrappingLabel(QStringLiteral("历史"), 22, this, QFont::DemiBold), 24, 514, 300, 40);
    m_search = placed(new QLineEdit(this), 24, 474, 500, 30);
    m_search->setPlaceholderText(QStringLiteral("序列号（可只输入一段）、型号或机型名称"));
    m_search->setClearButtonEnabled(true);
    auto* back = placed(new QPushButton(QStringLiteral("返回"), this), 540, 474, 136, 30);
    m_table = placed(new QTableView(this), 24, 214, 652, 250);
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->setWordWrap(false);
    m_table->horizontalHeader()->setStretchLastSection(true);
    for (const auto& [column, width] : {std::pair{0, 118}, {1, 104}, {2, 160}, {3, 160}, {4, 46}})
        m_table->setColumnWidth(column, width);
    m_display = new collect::ConfigurationView(inspection::flippedFrame(QRect(24, 86, 652, 118), height()), 12, this);
    m_reprint = placed(new QPushButton(QStringLiteral("补打标签"), this), 24, 43, 165, 34);
    m_reprint->setEnabled(false);
    connect(m_search, &QLineEdit::textChanged, this, &HistoryView::search);
    connect(back, &QPushButton::clicked, this, &HistoryView::closeRequested);
    connect(m_reprint, &QPushButton::clicked, this, &HistoryView::reprintRequested);
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { choose(current.row()); });
}

void HistoryView::showEvent(QShowEvent* event) {
    m_model->reload(); // rows taken in while the view was hidden
    QWidget::showEvent(event);
}

void HistoryView::search(const QString& text) {
    if (m_search->text() != text)
        m_search->setText(text); // comes back here through textChanged
    else
        m_model->setFilter(text);
}

void HistoryView::choose(int row) {
    m_chosen.reset();
    m_chosenFile.clear();
    m_reprint->setEnabled(false);
    if (row < 0 || row >= m_model->rowCount()) {
        m_display->display(QString());
        return;
    }
    m_chosenFile = m_model->record(row).fileName;
    const Result<QByteArray> bytes = report::readReportFile(QDir(m_reportsFolder).filePath(m_chosenFile));
    const Result<report::Report> report = bytes ? report::validated(*bytes) : Result<report::Report>(bytes.error());
    if (!report) {
        m_display->display(QStringLiteral("无法读取报告 %1：%2").arg(m_chosenFile, report.error().description));
        return;
    }
    m_chosen = *report;
    m_display->display(reportDisplayText(*report));
    m_reprint->setEnabled(true);
}

} // namespace tagsmith::app
