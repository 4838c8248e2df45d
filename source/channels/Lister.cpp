#include "channels/Lister.h"

namespace {
constexpr int kVisibleItems = 20;
}

Lister::Lister(QWidget* parent) : QComboBox(parent)
{
    setDuplicatesEnabled(true);
    setMaxVisibleItems(kVisibleItems);
    connect(this, &QComboBox::currentIndexChanged, this, qOverload<>(&Lister::selected));
}

void Lister::showList(const QMap<int, QString>& names, int currentId)
{
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
