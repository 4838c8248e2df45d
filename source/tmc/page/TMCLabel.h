#pragma once

#include <QTableView>

class TMCLblEdit;
class TMCLblModel;

// The label table of the TMC page.
class TMCLabel : public QTableView
{
    Q_OBJECT
public:
    explicit TMCLabel(QWidget* parent = nullptr);
    ~TMCLabel() override;

    TMCLblModel* labelModel() const { return lblModel; }

private:
    TMCLblEdit* editor = nullptr;
    TMCLblModel* lblModel = nullptr;
};
