#pragma once
// A real main window on a copy of a sample, and ways to wait for it.

#include "app/window/Tfrm_Ondrex.h"
#include "platform/testing/ScriptedDialogs.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>

namespace ondrex::window {

// Pumps events until `done` holds; false after `ms` milliseconds.
inline bool WaitUntil(const std::function<bool()>& done, int ms = 10000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Runs `inspect` on the modal dialog open when the events posted so far have run, then
// closes it.
inline void WhenModal(std::function<void(QWidget*)> inspect) {
    QTimer::singleShot(0, [inspect] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        inspect(modal);
        modal->close();
    });
}

inline std::string TempPath(const std::string& name) {
    return ::testing::TempDir() + std::to_string(getpid()) + "_" + name;
}

inline std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The shown file's bytes and modification time, to prove nothing wrote it.
struct FileSnapshot {
    explicit FileSnapshot(std::string p)
        : path(std::move(p)), bytes(ReadAll(path)), mtime(std::filesystem::last_write_time(path)) {}
    bool Unchanged() const {
        return ReadAll(path) == bytes && std::filesystem::last_write_time(path) == mtime;
    }
    std::string path;
    std::string bytes;
    std::filesystem::file_time_type mtime;
};

struct WindowTest : ::testing::Test {
    TScriptedDialogs& dialogs = TScriptedDialogs::Install();
    std::string file = TempPath("shop.asp");
    std::unique_ptr<Tfrm_Ondrex> w;

    void SetUp() override {
        std::filesystem::copy_file(ONDREX_SOURCE_DIR "/samples/shop.asp", file,
                                   std::filesystem::copy_options::overwrite_existing);
    }
    void TearDown() override {
        w.reset();
        std::remove(file.c_str());
    }
    // Opens the window as `ondrex FILE` does and waits for the scan.
    void Start(const std::string& path) {
        w = std::make_unique<Tfrm_Ondrex>(path);
        w->show();
        ASSERT_TRUE(WaitUntil([&] {
            return w->Started() && !w->Explorer().Scanning() && !w->ListView1().Rows().empty();
        }));
    }
    QToolButton* Button(const char* name) const { return w->findChild<QToolButton*>(name); }
};

} // namespace ondrex::window
