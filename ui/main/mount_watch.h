#pragma once

#include <QObject>

namespace velmorandi {

// Tells when a drive is mounted or unmounted, where the system announces it
// (Linux); elsewhere it stays silent, and the drive list is read again only
// when it opens.
class MountWatch : public QObject {
    Q_OBJECT
  public:
    explicit MountWatch(QObject* parent = nullptr);
    ~MountWatch() override;

  signals:
    void changed();

  private:
    int m_descriptor = -1;
};

} // namespace velmorandi
