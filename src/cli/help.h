#pragma once

#include "cli/verb.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace tagsmith::cli {

// The usage lines of the given verbs, headed "用法：".
QString usage(const QList<Verb>& verbs);

// The verbs the words name: the one verb they start with, else the group whose
// first word they start with ("cable"); none when they name nothing.
QList<Verb> verbsNamed(const QList<Verb>& verbs, const QStringList& words);

// Usage errors: the reason, then the usage of the verbs concerned, on standard
// error; the usage status.
int usageError(const QString& reason, const QList<Verb>& verbs);
// The same for a verb known by its synopsis, from inside the verb.
int usageError(const QString& reason, const QString& synopsis);

// The program's version, from the bundle it was installed with.
QString versionText();

} // namespace tagsmith::cli
