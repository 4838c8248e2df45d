#include "rds/AFEdit.h"

#include "rds/AFValid.h"

#include <QDebug>
#include <QLineEdit>

namespace {

// "-95.5" or "1602": the longest text a frequency or list head needs.
constexpr int kMaxLength = 5;

} // namespace

AFEdit::AFEdit(QObject* parent) : QItemDelegate(parent) {}

AFEdit::~AFEdit()
{
    qDebug() << "~AF edit";
}

QWidget* AFEdit::createEditor(QWidget* parent, const QStyleOptionViewItem& /*option*/,
                              const QModelIndex& /*index*/) const
{
    auto* editor = new QLineEdit(parent);
    editor->setMaxLength(kMaxLength);
    editor->setValidator(new AFValid(editor));
    return editor;
}

void AFEdit::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    // The cell shows "95.8 MHz"; the editor takes the number alone, which
    // also keeps it within the editor's length.
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->setText(index.data(Qt::EditRole).toString().section(QLatin1Char(' '), 0, 0));
}
