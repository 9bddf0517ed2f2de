#include "driver_client.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <sstream>
#include <stdexcept>
#include <thread>

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds deadline) {
    auto end = std::chrono::steady_clock::now() + deadline;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end)
            return done();
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return true;
}

Driver::Driver(const std::vector<std::string>& computer) {
    signal(SIGPIPE, SIG_IGN); // a driver that is gone shows as an error, not a dead test
    int in[2], out[2];
    // Close-on-exec, so that the programs under test do not inherit the driver's pipes.
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe");
    process_ = Process({WineLoader(), DriverPath()}, computer, in[0], out[1]);
    close(in[0]);
    close(out[1]);
    toDriver_ = in[1];
    fromDriver_ = out[0];
    // The first answer comes once the driver owns a window, so Wine's desktop is up before any
    // program under test starts.
    Command("count-boxes");
}

Driver::~Driver() {
    std::string quit = "quit\n";
    [[maybe_unused]] ssize_t ignored = write(toDriver_, quit.data(), quit.size());
    close(toDriver_);
    process_.Wait(5000);
    close(fromDriver_);
}

std::vector<std::string> Driver::Command(const std::string& line) {
    std::string request = line + "\n";
    if (write(toDriver_, request.data(), request.size()) != static_cast<ssize_t>(request.size()))
        throw std::runtime_error("the driver is gone");
    std::vector<std::string> lines;
    for (;;) {
        size_t newline = pending_.find('\n');
        if (newline != std::string::npos) {
            std::string answer = pending_.substr(0, newline);
            pending_.erase(0, newline + 1);
            if (!answer.empty() && answer.back() == '\r')
                answer.pop_back();
            if (answer == "end")
                return lines;
            if (answer.rfind("error ", 0) == 0)
                throw std::runtime_error("driver: " + answer);
            lines.push_back(answer);
            continue;
        }
        // The longest command waits 30 s for a window; an answer later than that is a hang.
        pollfd ready{fromDriver_, POLLIN, 0};
        if (poll(&ready, 1, 90000) == 0)
            throw std::runtime_error("the driver did not answer within 90 s: " + line);
        char buffer[4096];
        ssize_t got = read(fromDriver_, buffer, sizeof buffer);
        if (got <= 0)
            throw std::runtime_error("the driver stopped answering");
        pending_.append(buffer, static_cast<size_t>(got));
    }
}

std::optional<Box> Driver::FindBox(const std::string& caption, int timeoutMs) {
    std::vector<std::string> words =
        Ask("find-box " + (caption.empty() ? "*" : Hex(caption)) + " " + std::to_string(timeoutMs));
    if (words.at(0) != "box")
        return std::nullopt;
    return Box{words.at(1), Unhex(words.at(2)), Unhex(words.at(3)),
               words.at(4), words.at(5) == "1", words.at(6) == "1"};
}

int Driver::CountBoxes() {
    return std::stoi(Ask("count-boxes").at(1));
}

void Driver::Press(const Box& box, int buttonId) {
    Command("press " + box.handle + " " + std::to_string(buttonId));
    if (!WaitUntil([&] { return !Alive(box.handle); }))
        throw std::runtime_error("the box \"" + box.caption + "\" saying \"" + box.text +
                                 "\" still shows " + std::to_string(kEffectDeadline.count()) +
                                 " s after its button " + std::to_string(buttonId) +
                                 " was pressed");
}

std::string Driver::FindDialog(const std::string& captionPrefix, int timeoutMs) {
    std::vector<std::string> words =
        Ask("find-dialog " + Hex(captionPrefix) + " " + std::to_string(timeoutMs));
    return words.at(0) == "dialog" ? words.at(1) : "";
}

std::vector<std::string> Driver::ListLines(const std::string& dialog, int listId) {
    std::vector<std::string> lines;
    for (const std::string& line : Command("listbox " + dialog + " " + std::to_string(listId)))
        if (line.rfind("line ", 0) == 0)
            lines.push_back(Unhex(line.substr(5)));
    return lines;
}

std::string Driver::FindAlertsWindow(int timeoutMs) {
    std::string found;
    WaitUntil(
        [&] {
            for (const std::string& dialog : Ask("dialogs " + Hex("Recordatorio"))) {
                if (dialog == "dialogs")
                    continue;
                // Not the editor's, "Recordatorio - " and the date.
                if (Unhex(Ask("window " + dialog).at(12)) == "Recordatorio")
                    return !(found = dialog).empty();
            }
            return false;
        },
        std::chrono::milliseconds(timeoutMs));
    return found;
}

bool Driver::Alive(const std::string& handle) {
    return Ask("alive " + handle).at(1) == "1";
}

std::string Driver::FindWindowOfClass(const std::string& className, int timeoutMs,
                                      const std::string& title) {
    std::vector<std::string> words =
        Ask("find-window " + Hex(className) + " " + std::to_string(timeoutMs) + " " + Hex(title));
    return words.at(0) == "window" ? words.at(1) : "";
}

bool Driver::Send(const std::string& handle, unsigned message, unsigned long long wparam) {
    return Ask("send " + handle + " " + std::to_string(message) + " " + std::to_string(wparam) +
               " 0")
               .at(1) == "1";
}

bool Driver::Hold(const std::string& windowsPath) {
    return Ask("hold " + Hex(windowsPath)).at(1) == "1";
}

void Driver::Release() {
    Command("release");
}

unsigned Driver::Attributes(const std::string& windowsPath) {
    return static_cast<unsigned>(
        std::stoul(Ask("attributes " + Hex(windowsPath)).at(1), nullptr, 16));
}

unsigned Driver::SetAttributes(const std::string& windowsPath, unsigned attributes) {
    std::ostringstream line;
    line << "set-attributes " << Hex(windowsPath) << " " << std::hex << attributes;
    return static_cast<unsigned>(std::stoul(Ask(line.str()).at(1), nullptr, 16));
}
