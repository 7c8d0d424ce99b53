#pragma once

#include <QThread>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>

// The update worker: a thread that does one job and then idles until the program ends.
// The update check needs the server the program uses, which the dialog knows only once it has
// set up its pages; the worker waits for it. Its request ends at once when the worker is
// stopped (by the dialog's exit or its own destruction), so the program never waits on the
// network to end.
class CLoadHtmlThread : public QThread {
    Q_OBJECT

public:
    static constexpr int kJobUpdateCheck = 2;

    // owner is the window the worker reports to.
    explicit CLoadHtmlThread(QObject* owner);
    ~CLoadHtmlThread() override;

    void SetJob(int job) { m_job = job; }
    int Job() const { return m_job; }
    void SetVersion(const std::string& version) { m_version = version; }
    const std::string& Version() const { return m_version; }

    // The server to ask (host or host:port); the update check starts once it is known.
    void SetServer(const std::string& host);
    // Ends the request or the wait for the dialog's answer, and the idling.
    void Stop();

    // True once the job has run and the worker is idling.
    bool JobDone() const { return m_jobDone.load(); }

    // False when the program (a build for a distribution package, which updates through the
    // package manager) or the environment (QUVO_NO_UPDATE_CHECK=1) switches the check off.
    static bool UpdateCheckEnabled();
    // The program's own switch, set once before the dialog starts; on unless switched off.
    static void AllowUpdateCheck(bool allowed);

protected:
    void run() override;

private:
    void CheckForUpdate();
    std::optional<std::string> WaitForServer();
    void Idle();

    QObject* m_owner;
    int m_job = 0;
    std::string m_version;
    std::atomic<bool> m_jobDone{false};
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::optional<std::string> m_server;  // guarded by m_mutex
};
