#include "collect/assembly_rules.h"

#include "collect/json_lookup.h"

#include <QTextBoundaryFinder>

namespace tagsmith::collect {

namespace {

constexpr qint64 kMaxCoreCount = 1023;
constexpr qsizetype kMaxGraphicsCharacters = 500;

bool mentionsIntel(const std::optional<QString>& text) {
    return text && text->contains(QLatin1String("Intel"), Qt::CaseInsensitive);
}

QString textOr(const JsonValue& object, QStringView key, const QString& fallback = {}) {
    return text(object.member(key)).value_or(fallback);
}

// "proc 8:4:4" (all cores first) on Apple silicon; a plain count elsewhere,
// except on Intel machines, where it counts processor packages.
std::optional<qint64> coresFromProcessorCount(const JsonValue& hardware) {
    const QString processors = textOr(hardware, u"number_processors");
    if (processors.startsWith(QLatin1String("proc "))) {
        const QStringList pieces = processors.mid(5).split(u':', Qt::SkipEmptyParts);
        return pieces.isEmpty() ? std::nullopt : parseInteger(pieces.first());
    }
    if (mentionsIntel(text(hardware.member(u"cpu_type"))))
        return std::nullopt;
    return parseInteger(processors);
}

bool isExternalGpu(const JsonValue& gpu) {
    static const QStringList kYes{QStringLiteral("yes"), QStringLiteral("spdisplays_yes"), QStringLiteral("1"),
                                  QStringLiteral("true")};
    return textOr(gpu, u"sppci_bus").toLower().contains(QLatin1String("external")) ||
           kYes.contains(textOr(gpu, u"spdisplays_egpu").toLower());
}

// Whole user-perceived characters, so a cut never splits one.
QString firstCharacters(const QString& text, qsizetype limit) {
    if (text.size() <= limit)
        return text;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype end = 0;
    for (qsizetype count = 0; count < limit && end != -1; ++count)
        end = finder.toNextBoundary();
    return end == -1 ? text : text.left(end);
}

} // namespace

std::optional<qint64> plausibleCoreCount(std::optional<qint64> count) {
    return count && *count >= 1 && *count <= kMaxCoreCount ? count : std::nullopt;
}

std::optional<QString> processorDescription(const JsonValue& hardware, const HardwareSnapshot& snapshot) {
    if (mentionsIntel(snapshot.processorBrand)) {
        QString brand = *snapshot.processorBrand;
        brand.remove(QStringLiteral("(R)"));
        brand.remove(QStringLiteral("(TM)"));
        return brand.simplified();
    }
    if (auto chip = text(hardware.member(u"chip_type")))
        return chip;
    if (auto cpu = text(hardware.member(u"cpu_type")))
        return cpu;
    return snapshot.processorBrand;
}

std::optional<qint64> physicalCoreCount(const JsonValue& hardware, const HardwareSnapshot& snapshot) {
    for (const std::optional<qint64>& candidate :
         {snapshot.physicalCores, integerOf(hardware.member(u"total_number_cores")),
          integerOf(hardware.member(u"number_cores")), coresFromProcessorCount(hardware)}) {
        if (const auto count = plausibleCoreCount(candidate))
            return count;
    }
    return std::nullopt;
}

QList<const JsonValue*> internalDisplays(const JsonValue& document) {
    QList<const JsonValue*> internal;
    for (const JsonValue* gpu : objectsOf(document.member(u"SPDisplaysDataType")).value_or(QList<const JsonValue*>())) {
        if (!isExternalGpu(*gpu))
            internal.append(gpu);
    }
    return internal;
}

std::optional<QString> intelGraphics(const QList<const JsonValue*>& gpus) {
    QStringList names;
    for (const JsonValue* gpu : gpus) {
        const QString name = text(gpu->member(u"sppci_model")).value_or(textOr(*gpu, u"_name")).simplified();
        if (!name.isEmpty() && !names.contains(name))
            names.append(name);
    }
    if (names.isEmpty())
        return std::nullopt;
    return firstCharacters(names.join(QStringLiteral(" / ")), kMaxGraphicsCharacters);
}

} // namespace tagsmith::collect
