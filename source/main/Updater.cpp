#include "main/Updater.h"

#include <QDebug>

Updater::Updater(QObject* parent) : QObject(parent) {}

void Updater::check()
{
    qDebug("upd: no update service asked");
}
