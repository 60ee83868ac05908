#include "cli/resources.h"

#include "base/bundle.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace tagsmith::cli {

namespace {

bool stop(const QString& reason) {
    std::fprintf(stderr, "%s\n", qUtf8Printable(reason));
    return false;
}

} // namespace

QString resourcePath(const CommandLine& line, const QString& name) {
    if (line.has(kResourcesOption))
        return line.option(kResourcesOption) + u'/' + name;
    return base::Bundle::main().resourcePath(name);
}

bool resourcesPresent(const CommandLine& line, const QStringList& names) {
    const QString folder =
        line.has(kResourcesOption) ? line.option(kResourcesOption) : base::Bundle::main().resourcesPath();
    if (folder.isEmpty())
        return stop(QStringLiteral("找不到程序资源：请从程序包内运行 tagsmith，或用 --resources 指定资源文件夹。"));
    if (!QFileInfo(folder).isDir())
        return stop(QStringLiteral("资源文件夹不存在：") + QDir::toNativeSeparators(folder));
    for (const QString& name : names) {
        if (!QFileInfo::exists(QDir(folder).filePath(name)))
            return stop(QStringLiteral("资源文件夹 %1 中缺少 %2。").arg(QDir::toNativeSeparators(folder), name));
    }
    return true;
}

QString receiverKeyPath(const CommandLine& line) {
    if (line.has(kKeyFileOption))
        return line.option(kKeyFileOption);
    return resourcePath(line, QStringLiteral("receiver.json"));
}

} // namespace tagsmith::cli
