#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QString>

// One row of the country table: an ISO 3166-1 alpha-2 code, the RDS country
// identification digits (the first hexadecimal digit of a PI code) that the
// country uses, its Extended Country Code and area bits, and its names.
struct ECC
{
    // High byte of code; a row may carry several.
    enum Area : quint8
    {
        Europe = 0x01,
        Africa = 0x02,
        America = 0x04,
        NearEast = 0x08,
        Asia = 0x10,
        Australia = 0x20,
        Islands = 0x40,
    };

    QByteArray iso;   // "DE"
    quint16 code = 0; // low byte the ECC, high byte the area bits
    QByteArray ci;    // every PI digit the row stands for, "D1"
    QString nameEn;
    QString nameDe; // empty where the English name serves in German too

    quint8 ecc() const { return quint8(code & 0xFF); }
    quint8 area() const { return quint8(code >> 8); }
    // The name to show under the current interface language.
    QString name() const;

    bool operator==(const ECC&) const = default;
};

Q_DECLARE_METATYPE(ECC)
