#include "channels/Lister.h"

namespace {
constexpr int kVisibleItems = 20;
}

Lister::Lister(QWidget* parent) : QComboBox(parent)
{
    setDuplicatesEnabled(true);
    setMaxVisibleItems(kVisibleItems);
    connect(this, &QComboBox::currentIndexChanged, this, qOverload<>(&Lister::selected));
    if (parent)
        holdPalette(parent->palette());
}

// The field the chooser sits in changes its palette with every move of the
// play position mark; a chooser that inherited it would take each change
// (and pass it on to its list) although it is shown only when opened. With
// every colour set on its own it takes none, and takes the field's colours
// when it opens.
void Lister::holdPalette(const QPalette& from)
{
    QPalette held = from;
    for (int group = 0; group < QPalette::NColorGroups; ++group) {
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            const auto g = QPalette::ColorGroup(group);
            const auto r = QPalette::ColorRole(role);
            held.setBrush(g, r, from.brush(g, r));
        }
    }
    setPalette(held);
}

void Lister::showList(const QMap<int, QString>& names, int currentId)
{
    if (parentWidget())
        holdPalette(parentWidget()->palette());
    blockSignals(true);
    shown = names;
    clear();
    addItems(names.values());
    const QList<int> ids = names.keys();
    setCurrentIndex(int(ids.indexOf(currentId)));
    blockSignals(false);
    showPopup();
}

// Only a changed index gets here, so reopening and closing the list on the
// current entry leaves the chooser as it is.
void Lister::selected()
{
    const int index = currentIndex();
    if (index >= 0 && index < shown.size())
        emit selected(std::next(shown.cbegin(), index).key());
    hide();
}
