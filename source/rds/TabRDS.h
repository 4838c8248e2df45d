#pragma once

#include <QSharedPointer>
#include <QWidget>

class FMSettings;

// RDS page, for now a placeholder: the page with frame and sources, AF, EON,
// ODA and the RDS monitor comes later.
class TabRDS : public QWidget
{
    Q_OBJECT
public:
    explicit TabRDS(QWidget* parent = nullptr);

    void setProgram(QSharedPointer<FMSettings> settings);
    void showSource(int source, int tab);
    int shownSource() const { return source; }
    int shownTab() const { return tab; }

private:
    QSharedPointer<FMSettings> store;
    int source = 0;
    int tab = -1;
};
