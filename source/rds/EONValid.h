#pragma once

#include <QValidator>

class AFValid;

// The AF list of an EON row: blank-separated frequencies, each held to the
// AF bands as the AF table's own editor holds one.
class EONValid : public QValidator
{
    Q_OBJECT
public:
    explicit EONValid(QObject* parent = nullptr);
    ~EONValid() override;

    State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

private:
    AFValid* single = nullptr;
};
