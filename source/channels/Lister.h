#pragma once

#include <QComboBox>
#include <QMap>

// Drop-down chooser of a source: shows the names of an id-to-name table and
// reports the id of the entry the user picks.
class Lister : public QComboBox
{
    Q_OBJECT
public:
    explicit Lister(QWidget* parent = nullptr);

    // Fills the chooser with the names in ascending id order, selects
    // currentId (nothing when absent) and opens the list.
    void showList(const QMap<int, QString>& names, int currentId);

public slots:
    void selected();

signals:
    void selected(int id);

private:
    void holdPalette(const QPalette& from);

    QMap<int, QString> shown;
};
