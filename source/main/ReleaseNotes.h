#pragma once

#include <QDialog>
#include <QStringList>

#include <memory>

class QSettings;

namespace Ui {
class ReleaseNotesUI;
} // namespace Ui

// Pages through the release notes installed beside the program, one file
// per language, one ini group per release ("466" is 4.66), newest first.
class ReleaseNotes : public QDialog
{
    Q_OBJECT
public:
    ReleaseNotes(QWidget* parent, const QString& lang);
    ~ReleaseNotes() override;

    // "Quorvin_de.txt" for "de"
    static QString fileName(const QString& lang);
    // The groups that name a release, oldest first: only decimal numbers,
    // compared as numbers, so 10.00 ("1000") comes after 4.66 ("466").
    static QStringList releases(const QStringList& groups);
    // "4.66" for "466"
    static QString label(const QString& group);

public slots:
    void next();
    void prev();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void showVersion(int index);
    QString notes(const QString& group) const;

    Ui::ReleaseNotesUI* ui;
    std::unique_ptr<QSettings> file;
    QStringList versions;
    int shown = -1;
};
