#pragma once

#include <QThread>

#include <atomic>
#include <string>

// The update worker: a thread that does one job and then idles until the program ends.
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

    // True once the job has run and the worker is idling.
    bool JobDone() const { return m_jobDone.load(); }

protected:
    void run() override;

private:
    void CheckForUpdate();

    QObject* m_owner;
    int m_job = 0;
    std::string m_version;
    std::atomic<bool> m_jobDone{false};
};
