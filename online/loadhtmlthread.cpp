#include "online/loadhtmlthread.h"

CLoadHtmlThread::CLoadHtmlThread(QObject* owner) : m_owner(owner) {}

CLoadHtmlThread::~CLoadHtmlThread() {
    quit();
    wait();
}

void CLoadHtmlThread::run() {
    if (m_job == kJobUpdateCheck) {
        CheckForUpdate();
    }
    m_jobDone = true;
    exec();  // idle until the program ends
}

void CLoadHtmlThread::CheckForUpdate() {
    // The version request to the maker's server is added with the online services; until
    // then the worker finds nothing to offer.
}
