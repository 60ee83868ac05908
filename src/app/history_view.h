#pragma once

#include "report/report.h"

#include <QString>
#include <QWidget>

#include <optional>

class QLineEdit;
class QPushButton;
class QTableView;

namespace tagsmith::collect {
class ConfigurationView;
}

namespace tagsmith::ledger {
class HistoryModel;
}

namespace tagsmith::app {

// "历史": the workstation's past intakes, newest first, searchable by a serial
// or any part of it, a model or a name. A chosen row's report is read from
// its file and shown; it can be printed again by hand.
class HistoryView : public QWidget {
    Q_OBJECT
public:
    HistoryView(const QString& ledgerPath, QString reportsFolder, QWidget* parent);

    // The chosen report, read from its file; absent when none or unreadable.
    const std::optional<report::Report>& chosen() const { return m_chosen; }
    const QString& chosenFile() const { return m_chosenFile; }
    void search(const QString& text);
    void choose(int row);

Q_SIGNALS:
    void reprintRequested();
    void closeRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();

    QString m_reportsFolder;
    ledger::HistoryModel* m_model;
    std::optional<report::Report> m_chosen;
    QString m_chosenFile;
    QLineEdit* m_search = nullptr;
    QTableView* m_table = nullptr;
    collect::ConfigurationView* m_display = nullptr;
    QPushButton* m_reprint = nullptr;
};

} // namespace tagsmith::app
