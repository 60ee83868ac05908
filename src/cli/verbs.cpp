#include "cli/verb.h"

#include <cstdio>

namespace tagsmith::cli {

QList<Verb> allVerbs() {
    QList<Verb> verbs;
    verbs += reportVerbs();
    verbs += labelVerbs();
    verbs += cableVerbs();
    verbs += cableV1Verbs();
    verbs += relayVerbs();
    verbs += assembleVerbs();
    verbs += historyVerbs();
    return verbs;
}

int fail(const QString& description) {
    std::fprintf(stderr, "%s\n", description.toUtf8().constData());
    return kFailure;
}

void printLine(const QString& text) {
    std::puts(text.toUtf8().constData());
}

} // namespace tagsmith::cli
