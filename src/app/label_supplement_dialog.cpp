#include "app/label_supplement_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBoundaryFinder>
#include <QVBoxLayout>

#include <algorithm>

namespace tagsmith::app {

namespace {

constexpr int kMaxSupplementCharacters = 20;

qsizetype graphemeCount(const QString& text) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

bool containsLineBreak(const QString& text) {
    static const QString breaks = QStringLiteral("\n\r\v\f\u0085\u2028\u2029");
    return std::any_of(text.begin(), text.end(), [](QChar character) { return breaks.contains(character); });
}

} // namespace

std::optional<QString> supplementRefusal(const QString& field, const QString& text) {
    if (containsLineBreak(text))
        return QStringLiteral("%1含有换行").arg(field);
    if (graphemeCount(text) > kMaxSupplementCharacters)
        return QStringLiteral("%1超过 %2 个字符").arg(field).arg(kMaxSupplementCharacters);
    return std::nullopt;
}

LabelSupplementDialog::LabelSupplementDialog(const QString& disk, const QString& exterior, QWidget* parent)
    : QDialog(parent), m_disk(new QLineEdit(disk, this)), m_exterior(new QLineEdit(exterior, this)) {
    setWindowTitle(QStringLiteral("补充标签信息"));
    setModal(true);
    auto* message = new QLabel(QStringLiteral("补充标签信息"), this);
    QFont bold = message->font();
    bold.setBold(true);
    message->setFont(bold);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("硬盘容量"), m_disk);
    fields->addRow(QStringLiteral("A 型号"), m_exterior);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("应用到标签"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(message);
    layout->addWidget(new QLabel(QStringLiteral("A型号请核对底壳，硬盘容量如512G或1T。未知内容可以留空。"), this));
    layout->addLayout(fields);
    layout->addWidget(buttons);
}

QString LabelSupplementDialog::disk() const {
    return m_disk->text();
}

QString LabelSupplementDialog::exterior() const {
    return m_exterior->text();
}

} // namespace tagsmith::app
