#include "rds/TabRDS.h"

#include "settings/RDSSource.h"

const QStringList& TabRDS::rtplusClassNames()
{
    static const QStringList names;
    return names;
}

void TabRDS::rtxtChanged() {}

void TabRDS::addTag(RTag /*tag*/) {}

void TabRDS::delTag() {}

void TabRDS::showText() {}

void TabRDS::readRadioText(RDSSource& /*source*/) {}

void TabRDS::fillTags(const QString& /*a*/, const QString& /*b*/, const QString& /*c*/,
                      const QString& /*d*/, const QList<RTag>& /*tags*/)
{
}

void TabRDS::collectTags(QString& /*a*/, QString& /*b*/, QString& /*c*/, QString& /*d*/,
                         QList<RTag>& /*tags*/)
{
}

QString TabRDS::decodeText(const QByteArray& /*bytes*/, int /*from*/, int /*to*/, int /*length*/,
                           quint8 /*mode*/)
{
    return {};
}

QString TabRDS::markedHtml(const QString& /*text*/, int /*from*/, int /*to*/)
{
    return {};
}

void TabRDS::setDecoderTip(QTextCodec* /*codec*/) {}
