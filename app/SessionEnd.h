#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM and SIGHUP, which a desktop sends when the session ends, and SIGINT (Ctrl+C in the
// terminal that started the window) reach the event loop as requested(): the handler only
// writes the signal's number into a pipe that the loop watches. While one is not yet taken
// up, a second signal ends the program at once, so a loop that hangs can still be ended.
class SessionEnd : public QObject {
    Q_OBJECT
  public:
    // The process's one watcher, made at the first call; it lives as long as the application
    // object, which must exist.
    static SessionEnd& watcher();

  signals:
    void requested(int signal);

  private:
    SessionEnd();
    ~SessionEnd() override;
    void takeUp();

    QSocketNotifier* notifier_ = nullptr;
};
