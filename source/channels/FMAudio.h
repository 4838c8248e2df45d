#pragma once

#include <QSharedPointer>
#include <QWidget>

class FMSettings;

// Audio page, for now a placeholder: the page with drag and drop of sources,
// playlists and files comes later.
class FMAudio : public QWidget
{
    Q_OBJECT
public:
    explicit FMAudio(QWidget* parent = nullptr);

    void attach(QSharedPointer<FMSettings> settings);
    void selectPlaylist(int source);
    int selectedPlaylist() const { return selected; }

private:
    QSharedPointer<FMSettings> store;
    int selected = 0;
};
