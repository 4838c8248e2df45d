#pragma once

#include <QValidator>

// Checks a typed AF frequency: FM in MHz (87.6-107.9) or LF/MF in kHz on
// the 9 kHz raster (153-279, 531-1602). Off-raster and out-of-band values
// are moved to the nearest value that can be sent. A leading minus marks a
// method-B list head and is kept in front of the checked value.
class AFValid : public QValidator
{
    Q_OBJECT
public:
    explicit AFValid(QObject* parent = nullptr);
    ~AFValid() override;

    State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

    // A typed number in the user's locale or with a decimal point.
    static double toNumber(const QString& text, bool* ok = nullptr);
};
