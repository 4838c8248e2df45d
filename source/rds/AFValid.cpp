#include "rds/AFValid.h"

#include <QDebug>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

// AF frequencies in tenths of MHz; from here on a value is taken as kHz.
constexpr int kFmFirst = 876, kFmLast = 1079;
// LF and MF raster of the AF code table (IEC 62106, LF/MF codes).
constexpr int kLfFirst = 153, kLfLast = 279;
constexpr int kMfFirst = 531, kMfLast = 1602;
constexpr int kRaster = 9;
constexpr int kLfTypedFirst = 161; // 154-160 may still become 1540-1602
constexpr int kMfTypedLast = 1609; // a fourth digit beyond 1609 cannot fit
constexpr int kToMfFirst = 400;    // from here on up to the first MF point
constexpr int kFixupLfFirst = 150;
constexpr double kEpsilon = 1e-7;
// Far above every band; larger numbers ("1e300") are cut to this before
// they are counted in tenths.
constexpr double kLargest = 1e6;

QString localNumber(double value)
{
    return QStringLiteral("%L1").arg(value);
}

// The value in tenths, truncated toward zero; the epsilon keeps 95.8 from
// reading as 957.
int tenthsOf(double value)
{
    return int(std::trunc(std::min(value, kLargest) * 10.0 + kEpsilon));
}

// The raster point nearest to k on the raster that starts at first.
int onRaster(int k, int first)
{
    const int offset = (k - first) % kRaster;
    return offset * 2 <= kRaster ? k - offset : k - offset + kRaster;
}

bool offRaster(int k, int first)
{
    return (k - first) % kRaster != 0;
}

// Splits off the leading minus of a list head.
QString takeSign(QString& text)
{
    if (text.startsWith(QLatin1Char('-'))) {
        text.remove(0, 1);
        return QStringLiteral("-");
    }
    return {};
}

// More than one digit after the decimal separator.
bool moreThanOneDecimal(const QString& text)
{
    qsizetype point = text.indexOf(QLocale().decimalPoint());
    if (point < 0)
        point = text.indexOf(QLatin1Char('.'));
    return point >= 0 && text.size() - point - 1 > 1;
}

} // namespace

AFValid::AFValid(QObject* parent) : QValidator(parent) {}

AFValid::~AFValid()
{
    qDebug() << "~AF valid";
}

double AFValid::toNumber(const QString& text, bool* ok)
{
    // The decimal point first: the tables show frequencies with it, and a
    // locale whose group separator is a point would misread them.
    bool read = false;
    double value = QLocale::c().toDouble(text, &read);
    if (!read)
        value = QLocale().toDouble(text, &read);
    if (!std::isfinite(value))
        read = false;
    if (ok)
        *ok = read;
    return read ? value : 0.0;
}

QValidator::State AFValid::validate(QString& input, int& pos) const
{
    if (input.isEmpty())
        return Intermediate;
    QString text = input.section(QLatin1Char(' '), 0, 0).trimmed();
    const QString sign = takeSign(text);
    const auto put = [&](const QString& value) {
        input = sign + value;
        pos = std::min<int>(pos, int(input.size()));
    };
    put(text);
    if (text.isEmpty())
        return Intermediate;
    bool ok = false;
    double value = toNumber(text, &ok);
    if (!ok || value < 0)
        return Invalid;
    if (value >= kLargest) {
        input.chop(1);
        pos = std::min<int>(pos, int(input.size()));
        return Intermediate;
    }
    const int n = tenthsOf(value);
    if (moreThanOneDecimal(text)) {
        value = n / 10.0;
        text = localNumber(value);
        put(text);
    }
    if (n < kFmFirst)
        return Intermediate;
    if (n <= kFmLast)
        return Acceptable;

    const int k = int(std::min(value, kLargest));
    if (value != double(k))
        put(QString::number(k));
    if (k == kLfFirst)
        return Acceptable;
    if (k >= kLfTypedFirst && k <= kLfLast) {
        if (offRaster(k, kLfFirst))
            put(QString::number(onRaster(k, kLfFirst)));
        return Acceptable;
    }
    if (k > kLfLast && k < kToMfFirst) {
        put(QString::number(kLfLast));
        return Acceptable;
    }
    if (k >= kToMfFirst && k < kMfFirst) {
        put(QString::number(kMfFirst));
        return Acceptable;
    }
    if (k >= kMfFirst && k <= kMfTypedLast) {
        if (k > kMfLast)
            put(QString::number(kMfLast));
        else if (offRaster(k, kMfFirst))
            put(QString::number(onRaster(k, kMfFirst)));
        return Acceptable;
    }
    if (k > kMfTypedLast) {
        input.chop(1);
        pos = std::min<int>(pos, int(input.size()));
        return Intermediate;
    }
    return Intermediate;
}

void AFValid::fixup(QString& input) const
{
    QString text = input.section(QLatin1Char(' '), 0, 0).trimmed();
    const QString sign = takeSign(text);
    bool ok = false;
    const double value = toNumber(text, &ok);
    if (text.isEmpty() || !ok || value < 0) {
        input.clear();
        return;
    }
    const int n = tenthsOf(value);
    if (n < kFmFirst) {
        input = sign + localNumber(kFmFirst / 10.0);
        return;
    }
    if (n <= kFmLast) {
        input = sign + localNumber(n / 10.0);
        return;
    }
    const int k = int(std::min(value, kLargest));
    if (k < kFixupLfFirst) {
        input = sign + localNumber(kFmLast / 10.0);
        return;
    }
    int fixed = k;
    if (k < kLfFirst)
        fixed = kLfFirst;
    else if (k <= kLfLast && offRaster(k, kLfFirst))
        fixed = onRaster(k, kLfFirst);
    else if (k > kLfLast && k < kMfFirst)
        fixed = kMfFirst;
    else if (k >= kMfFirst && k <= kMfLast && offRaster(k, kMfFirst))
        fixed = onRaster(k, kMfFirst);
    else if (k > kMfLast)
        fixed = kMfLast;
    // A value on the raster stays exactly as it was typed.
    if (fixed != k || value != double(k))
        input = sign + QString::number(fixed);
}
