#pragma once

#include <QDialog>
#include <QList>

#include "cart/camera_album.h"

class QLabel;
class QPushButton;

// The photos of a Pocket Camera save, each shown at twice its size and
// savable as a PNG; empty and deleted slots are named.
class CameraGallery : public QDialog {
    Q_OBJECT

public:
    CameraGallery(const QString& saveFile, QWidget* parent);

    int photoCount() const { return int(m_photos.size()); }
    QPushButton* saveButton(int i) const { return m_saveButtons.value(i); }
    QLabel* statusLabel() const { return m_status; }

private:
    void save_photo(int i);

    QString m_saveFile;
    std::vector<gb::CameraPhoto> m_photos;
    QList<QPushButton*> m_saveButtons;
    QLabel* m_status;
};
