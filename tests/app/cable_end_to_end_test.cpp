#include "base/atomic_file.h"
#include "report/report_file.h"
#include "support/cli.h"
#include "support/cups_server.h"
#include "support/netns.h"
#include "support/paths.h"
#include "support/processes.h"
#include "support/sample_reports.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

using namespace std::chrono_literals;
using tagsmith::test::waitUntil;

namespace {

const QString kFixture = QStringLiteral("valid/K7Q2XW9FJ4_2025-03-01T09-15-00Z.macreport");

// A program of a bundle, started inside a network namespace.
class NamespacedProgram {
public:
    NamespacedProgram(const QString& netns, const QString& program, const QStringList& arguments,
                      const QProcessEnvironment& environment) {
        m_process.setProcessEnvironment(environment);
        m_process.start(QStringLiteral("ip"), QStringList{"netns", "exec", netns, program} + arguments);
    }
    ~NamespacedProgram() { tagsmith::test::endProcess(m_process); }

    QByteArray output() {
        m_output += m_process.readAllStandardOutput();
        return m_output;
    }

private:
    QProcess m_process;
    QByteArray m_output;
};

// The whole cable path across two namespaces joined by a veth pair: the
// collector bundle's command line serves a report on en9; the real workstation
// window, offscreen, has en10 named as its cable interface and prints to a
// private CUPS.
class CableEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        if (!m_namespaces.ready())
            GTEST_SKIP() << tagsmith::test::NetnsPair::skipReason();
        if (!m_cups.running())
            GTEST_SKIP() << m_cups.whyNotRunning().toStdString();
        ASSERT_TRUE(m_cups.addQueue(QStringLiteral("Deli720W_40x30")));
        ASSERT_TRUE(tagsmith::base::writeFileAtomically(m_home.filePath("config/Tagsmith/workstation.conf"),
                                                        "[General]\ncableInterfaces=en10\n"));
        m_environment.insert("HOME", m_home.path());
        m_environment.insert("XDG_CONFIG_HOME", m_home.filePath("config"));
        m_environment.insert("XDG_DATA_HOME", m_home.filePath("data"));
        m_environment.insert("QT_QPA_PLATFORM", "offscreen");
    }

    std::unique_ptr<NamespacedProgram> serve() const {
        const QString cli = tagsmith::test::buildPath("Tagsmith Collector.app/Contents/MacOS/tagsmith");
        return std::make_unique<NamespacedProgram>(
            m_namespaces.collector, cli,
            QStringList{"cable", "serve", tagsmith::test::reportFixture(kFixture), "--cable-interface", "en9"},
            m_environment);
    }
    NamespacedProgram workstation() const {
        return {m_namespaces.workstation,
                tagsmith::test::buildPath("Tagsmith.app/Contents/MacOS/VOREvo"),
                {},
                m_environment};
    }
    qsizetype labelJobs() const { return QDir(m_cups.outputFolder()).entryList({"job-*.pdf"}, QDir::Files).size(); }

    tagsmith::test::NetnsPair m_namespaces;
    tagsmith::test::CupsServer m_cups;
    QTemporaryDir m_home;
    QProcessEnvironment m_environment = QProcessEnvironment::systemEnvironment();
};

TEST_F(CableEndToEnd, ServedReportIsSavedAndPrintsOneLabelWithoutOperatorAction) {
    const QString saved = m_home.filePath("data/Tagsmith/Reports/" +
                                          tagsmith::report::reportFileName(tagsmith::test::fixtureReport(kFixture)));
    auto collector = serve();
    NamespacedProgram window = workstation();
    EXPECT_TRUE(waitUntil([&] { return QFile::exists(saved) && labelJobs() == 1; }, 10s));
    EXPECT_TRUE(waitUntil([&] { return collector->output().contains("SENT\n"); }));

    collector = serve(); // a new collector process chooses the workstation afresh and serves it again
    EXPECT_TRUE(waitUntil([&] { return collector->output().contains("SENT\n"); }, 10s));
    QString queued;
    EXPECT_TRUE(tagsmith::test::runTool(QStringLiteral("lpstat"), {QStringLiteral("-o")}, &queued));
    EXPECT_TRUE(queued.trimmed().isEmpty()) << queued.toStdString();
    EXPECT_EQ(labelJobs(), 1);
}

} // namespace
