#pragma once

#include <QAbstractListModel>
#include <QModelIndexList>
#include <QStringList>

// The RDS log files that a source plays in turn instead of its own groups.
// Paths whose file is gone stay listed, on a light red background.
class RDSLogFiles : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit RDSLogFiles(QObject* parent = nullptr);
    ~RDSLogFiles() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void reload(const QStringList& paths);
    void addFiles(const QStringList& paths);
    void removeFiles(const QModelIndexList& indexes);
    QString fileName(int row) const;
    const QStringList& files() const { return paths; }

private:
    QStringList paths;
};
