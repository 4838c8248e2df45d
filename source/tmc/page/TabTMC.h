#pragma once

#include <QSharedPointer>
#include <QWidget>

class FMSettings;

// TMC page, for now a placeholder: the page with sources, messages and the
// event and location lists comes later.
class TabTMC : public QWidget
{
    Q_OBJECT
public:
    explicit TabTMC(QWidget* parent = nullptr);

    void setProgram(QSharedPointer<FMSettings> settings);
    void showSource(int source);
    int shownSource() const { return source; }

private:
    QSharedPointer<FMSettings> store;
    int source = 0;
};
