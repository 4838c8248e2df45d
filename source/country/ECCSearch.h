#pragma once

#include "country/ECC.h"

#include <QWidget>

class ECCModel;
class QModelIndex;
class QToolButton;

namespace Ui {
class ECCUI;
}

// The window "Ländercode suchen": finds countries by area or text fragment
// and hands the double-clicked row to its creator through saveECC. It is
// always a window of its own; the creator deletes it.
class ECCSearch : public QWidget
{
    Q_OBJECT
public:
    explicit ECCSearch(QWidget* parent = nullptr);
    ~ECCSearch() override;

    static constexpr int kMaxShownCount = 9999;

signals:
    void saveECC(ECC row);

public slots:
    void showECC();
    void findECCText();
    void findECCArea();
    void clickEU(bool checked);
    void clickAF(bool checked);
    void clickAM(bool checked);
    void clickAR(bool checked);
    void clickAS(bool checked);
    void clickAU(bool checked);
    void pushECC(const QModelIndex& index);

private:
    QList<QToolButton*> areaButtons() const;
    // A button that becomes checked unchecks the areas it shares no row with.
    void narrowArea(bool checked, const QList<QToolButton*>& excluded);
    void showCount(int rows);

    Ui::ECCUI* ui;
    ECCModel* model;
};
