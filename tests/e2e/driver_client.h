// The tests' side of the test driver (a Windows program under Wine): one command per line, the
// answer's lines up to "end". Texts travel as hex of Windows-1252 bytes.
#pragma once

#include "hex_text.h"
#include "wine_session.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

std::vector<std::string> Words(const std::string& line);

// How long a step waits for the effect of an action on a window: long enough for the 32-bit
// programs under the emulator on a busy machine, and spent only when the effect never comes.
constexpr std::chrono::seconds kEffectDeadline{30};

// Asks `done` again and again until it is true or the deadline has passed; returns its last
// answer. Every step that acts on a program waits so for what the action must change.
bool WaitUntil(const std::function<bool()>& done,
               std::chrono::milliseconds deadline = kEffectDeadline);

// The buttons of boxes and dialogs (IDOK, IDYES, IDNO).
constexpr int kOk = 1, kYes = 6, kNo = 7;
// The alerts window's controls.
constexpr int kAlertListId = 101, kAlertDetailId = 102, kAcceptAllId = 103, kSnoozeId = 104;

// A message box on screen: no owner and no icon is what the kit's boxes must look like.
struct Box {
    std::string handle;
    std::string caption;
    std::string text;
    std::string buttons; // "1" for OK, "6,7" for Yes and No
    bool hasOwner = false;
    bool hasIcon = false;
};

// A control of a dialog, as read back from the live window.
struct Child {
    int id = 0;
    std::string className;
    unsigned style = 0;
    unsigned exStyle = 0;
    int x = 0, y = 0, width = 0, height = 0;
    bool enabled = false;
    bool visible = false;
    std::string text;
};

class Driver {
  public:
    // On the computer whose environment is given (wine_session.h): it sees that computer's windows.
    explicit Driver(const std::vector<std::string>& computer = WineEnvironment());
    ~Driver();
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

    // The answer's lines, without "end". Throws if the driver does not answer in time.
    std::vector<std::string> Command(const std::string& line);
    // The words of the answer's first line.
    std::vector<std::string> Ask(const std::string& line) { return Words(Command(line).at(0)); }

    // A visible message box with that caption ("" for any), waiting up to timeoutMs for it.
    std::optional<Box> FindBox(const std::string& caption, int timeoutMs = 30000);
    int CountBoxes();
    // Presses a box's button and waits until the box is gone; throws, saying so, if it stays.
    void Press(const Box& box, int buttonId);
    // A visible dialog (not a message box) whose caption starts so.
    std::string FindDialog(const std::string& captionPrefix, int timeoutMs = 30000);
    // The lines of a dialog's list box.
    std::vector<std::string> ListLines(const std::string& dialog, int listId);
    // The day watch's alerts window: the visible dialog captioned "Recordatorio", waiting up to
    // timeoutMs for it; "" if none.
    std::string FindAlertsWindow(int timeoutMs = 30000);
    bool Alive(const std::string& handle);
    // A top-level window of that class, shown or hidden, and with that title if one is given (a
    // Windows path, UTF-8), waiting up to timeoutMs for it; "" if none.
    std::string FindWindowOfClass(const std::string& className, int timeoutMs = 15000,
                                  const std::string& title = "");
    // Sends a message and returns once the window has handled it: false if it did not within 5 s.
    bool Send(const std::string& handle, unsigned message, unsigned long long wparam = 0);

    bool Hold(const std::string& windowsPath); // open exclusively, as another program would
    void Release();
    // A file's attributes (FILE_ATTRIBUTE_...) as Windows programs see them; setting them
    // returns what the file then has.
    unsigned Attributes(const std::string& windowsPath);
    unsigned SetAttributes(const std::string& windowsPath, unsigned attributes);

  private:
    int toDriver_ = -1;
    int fromDriver_ = -1;
    std::string pending_;
    Process process_;
};
