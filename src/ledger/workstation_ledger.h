#pragma once

#include "base/result.h"
#include "base/serial_queue.h"
#include "ledger/intake_record.h"
#include "ledger/ledger.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

namespace tagsmith::ledger {

// The window's side of the ledger. Opening, rebuilding and writing run on a
// queue of their own, so neither a rebuild of a large folder nor a slow disk
// holds up the window or the receiver's acknowledgement. A failed write never
// touches the saved report: the ledger is marked for rebuild, and the window
// hears of it once.
class WorkstationLedger {
public:
    static inline const QString kFailureText = QStringLiteral(
        "历史记录写入失败（报告已保存）。下次启动或执行 tagsmith history rebuild 时将从报告文件夹重建。");

    // Opens the ledger at once on its queue, and rebuilds it there when due.
    WorkstationLedger(QString ledgerPath, QString reportsFolder);
    // Cuts a rebuild short and lets the writes already queued finish.
    ~WorkstationLedger();
    WorkstationLedger(const WorkstationLedger&) = delete;
    WorkstationLedger& operator=(const WorkstationLedger&) = delete;

    // Runs on the main thread, at most once in the life of the process.
    void setFailureNotice(std::function<void(const QString&)> notice);

    void record(IntakeRecord record);
    void markLabelSubmitted(const QString& fileName, const QDateTime& at);
    // Calls done on the main thread once every write queued before has run.
    void afterWrites(std::function<void()> done);

    const QString& path() const { return m_path; }

private:
    struct Notice {
        std::function<void(const QString&)> show;
        bool told = false;
    };

    bool ready();
    void write(const std::function<Result<void>(Ledger&)>& change);
    void failed();

    const QString m_path;
    const QString m_reportsFolder;
    std::atomic<bool> m_stopping = false;
    std::shared_ptr<Notice> m_notice = std::make_shared<Notice>(); // main thread only; the queue holds it weakly
    std::optional<Ledger> m_ledger;                                // queue only
    // Declared last, so its thread ends before the members above go.
    base::SerialQueue m_queue{QStringLiteral("tagsmith.ledger")};
};

} // namespace tagsmith::ledger
