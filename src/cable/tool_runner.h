#pragma once

#include <QString>
#include <QStringList>

#include <chrono>

namespace tagsmith::cable {

inline constexpr std::chrono::milliseconds kToolWatchdog{2000};

// Runs a system tool for cable discovery: LC_ALL=C so the output is the
// untranslated form the patterns expect, standard input and error on the null
// device, killed when still running after the watchdog. Returns standard
// output only for exit status 0; every failure gives empty text, so a broken
// tool can only remove links, never add one.
QString runTool(const QString& path, const QStringList& arguments, std::chrono::milliseconds watchdog = kToolWatchdog);

} // namespace tagsmith::cable
