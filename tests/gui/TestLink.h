#pragma once
// A link whose transfers run on a real worker thread but whose outcome the
// test chooses: the result message, the block a read delivers, and when the
// worker may finish. The settings behave as the program's link does.
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "app/CommandIds.h"
#include "app/PagerLink.h"
#include "app/PortNames.h"
#include "codeplug/CCodeplug.h"

class TestLink : public PagerLink {
public:
    ~TestLink() override {
        Release();
        Join();
    }

    std::string port = "COM1";
    int delay = 3000;
    std::string productDir;
    int saves = 0;
    int transfers = 0;

    // What the next transfer does.
    int message = cmd::WM_PAGER_READ_FAILED;
    Image readImage{};
    Byte pagerVersion = 0;
    bool holdWorker = false;  // wait for Release() before posting

    void Release() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_released = true;
        m_cv.notify_all();
    }

    std::string PortName() const override { return port; }
    int FindPortIndex(const std::string& name) const override {
        for (int i = 0; i < kPortCount; ++i)
            if (PortListName(i) == name) return i;
        return 0;
    }
    void SelectPort(int index) override { port = PortListName(index); }
    void SetPortName(const std::string& name) override { port = name; }
    int Delay() const override { return delay; }
    void SetDelayIndex(int index) override {
        delay = index == 0 ? 2000 : index == 2 ? 4000 : index == 3 ? 5000 : 3000;
    }
    std::string GetDelayLabel() const override {
        switch (delay) {
            case 2000:
                return DelayListLabel(0);
            case 4000:
                return DelayListLabel(2);
            case 5000:
                return DelayListLabel(3);
        }
        return DelayListLabel(1);
    }
    std::string unsaved;  // what SaveSettings reports
    std::string SaveSettings() override {
        ++saves;
        return unsaved;
    }
    std::string ProductDir() const override { return productDir; }

    bool StartRead(CCodeplug& plug, Post post) override { return Start(plug, post, true); }
    bool StartWrite(CCodeplug& plug, Post post) override { return Start(plug, post, false); }
    bool Busy() const override { return m_busy; }
    void Join() override {
        if (m_thread.joinable()) m_thread.join();
    }
    std::string failureDetail;
    std::string LastFailureDetail() const override { return failureDetail; }
    std::string backup;
    std::string LastBackup() const override { return backup; }

private:
    bool Start(CCodeplug& plug, Post post, bool read) {
        if (m_busy) return false;
        Join();
        ++transfers;
        m_busy = true;
        m_released = !holdWorker;
        m_thread = std::thread([this, &plug, post, read, msg = message] {
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                m_cv.wait(lock, [this] { return m_released; });
            }
            if (read && msg == cmd::WM_PAGER_READ_OK) {
                plug.SetImage(readImage);
                plug.SetDataValid(1);
                plug.SetPagerVersion(pagerVersion);
            }
            m_busy = false;
            post(msg);
        });
        return true;
    }

    std::thread m_thread;
    std::atomic<bool> m_busy{false};
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_released = true;
};
