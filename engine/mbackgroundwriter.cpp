// SPDX-License-Identifier: MIT
#include "engine/mbackgroundwriter.h"

#include <system_error>

#include "engine/mfiles.h"

MBackgroundWriter::~MBackgroundWriter() {
    if (!m_thread.joinable())
        return;
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return m_pszPiece == nullptr; });
        m_bStopping = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void MBackgroundWriter::take(MTextBuffer& text, bool) {
    if (text.length() == 0)
        return;
    wait();
    m_written.swap(text);
    text.clear();
    write(m_written.data(), m_written.length());
}

void MBackgroundWriter::write(const char* pszText, unsigned long liCount) {
    wait();
    if (liCount == 0)
        return;
    if (!m_thread.joinable()) {
        try {
            m_thread = std::thread(&MBackgroundWriter::run, this);
        } catch (const std::system_error&) {
            // Without a thread to spare the piece is written here and now.
            m_file.write(pszText, liCount);
            return;
        }
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_pszPiece = pszText;
        m_liPiece = liCount;
    }
    m_changed.notify_all();
}

void MBackgroundWriter::wait() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_pszPiece == nullptr; });
}

void MBackgroundWriter::run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_pszPiece != nullptr || m_bStopping; });
        if (m_pszPiece == nullptr)
            return;
        const char* pszPiece = m_pszPiece;
        const unsigned long liPiece = m_liPiece;
        lock.unlock();
        m_file.write(pszPiece, liPiece);
        lock.lock();
        m_pszPiece = nullptr;
        m_changed.notify_all();
    }
}
