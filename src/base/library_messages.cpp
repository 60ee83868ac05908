#include "base/library_messages.h"

#include <QtGlobal>

namespace tagsmith::base {

namespace {

void dropMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

} // namespace

void silenceLibraryMessages() {
    qInstallMessageHandler(dropMessage);
}

} // namespace tagsmith::base
