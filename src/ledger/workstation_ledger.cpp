#include "ledger/workstation_ledger.h"

#include "base/main_thread.h"

#include <future>

namespace tagsmith::ledger {

WorkstationLedger::WorkstationLedger(QString ledgerPath, QString reportsFolder)
    : m_path(std::move(ledgerPath)), m_reportsFolder(std::move(reportsFolder)) {
    m_queue.async([this] { ready(); });
}

WorkstationLedger::~WorkstationLedger() {
    m_stopping = true;
    std::promise<void> finished;
    m_queue.async([&finished] { finished.set_value(); });
    finished.get_future().wait();
}

void WorkstationLedger::setFailureNotice(std::function<void(const QString&)> notice) {
    m_notice->show = std::move(notice);
}

void WorkstationLedger::record(IntakeRecord record) {
    m_queue.async([this, record = std::move(record)] { write([&](Ledger& ledger) { return ledger.record(record); }); });
}

void WorkstationLedger::markLabelSubmitted(const QString& fileName, const QDateTime& at) {
    m_queue.async([this, fileName, at = ledgerTime(at)] {
        write([&](Ledger& ledger) { return ledger.markLabelSubmitted(fileName, at); });
    });
}

void WorkstationLedger::afterWrites(std::function<void()> done) {
    m_queue.drain(std::move(done));
}

// On the queue: the ledger open and complete, else false after failed().
bool WorkstationLedger::ready() {
    if (!m_ledger) {
        Result<Ledger> opened = Ledger::open(m_path);
        if (!opened) {
            failed();
            return false;
        }
        m_ledger.emplace(std::move(*opened));
    }
    if (m_ledger->needsRebuild() && !m_ledger->rebuild(m_reportsFolder, &m_stopping)) {
        failed();
        return false;
    }
    return true;
}

void WorkstationLedger::write(const std::function<Result<void>(Ledger&)>& change) {
    if (ready() && !change(*m_ledger))
        failed();
}

// On the queue. The next write opens the file afresh, so a ledger damaged
// meanwhile is found, moved aside and rebuilt.
void WorkstationLedger::failed() {
    m_ledger.reset();
    Ledger::markForRebuild(m_path);
    if (m_stopping)
        return;
    base::onMain([notice = std::weak_ptr(m_notice)] {
        const auto shown = notice.lock();
        if (shown && shown->show && !shown->told) {
            shown->told = true;
            shown->show(kFailureText);
        }
    });
}

} // namespace tagsmith::ledger
