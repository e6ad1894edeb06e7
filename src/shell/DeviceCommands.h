#pragma once
// The frame's commands that work on the loop: the device search, the commands that open a page
// for the ticked transmitter (with their shared preconditions), the Data Trend mode choice, the
// exclusive commands of single models, and the polling-address tool.
#include <map>

class CMainFrame;

class CDeviceCommands {
public:
    // What a command checks before its page opens.
    enum class Guard {
        None,            // opens at once
        Device,          // connected, devices found (else offer a search), one ticked; announces
        DeviceNoAnnounce, // the same without the address announcement (Command Test)
        Totalize,        // ticked device of type 96
        GwrLevel,        // ticked Korvex device of type 126
        ForDebug,        // temperature or level device
        SelfCompensation,
        Imsi,
        AutoCalibrationStart,
        Trend,           // device command, then the single or multi-drop trend pages
    };
    struct PageCommand {
        Guard guard = Guard::None;
        bool addressTable = false; // the link addresses through its address table while it is open
    };

    explicit CDeviceCommands(CMainFrame& frame);

    // Commands that open a page, and how.
    static const std::map<int, PageCommand>& PageCommands();
    bool IsPageCommand(int id) const { return PageCommands().count(id) != 0; }
    // True when the program has the page(s) the command opens.
    bool IsAvailable(int id) const;

    void OnSearch();
    void OnPageCommand(int id);
    void OnPollingAddressSetting();

    // The precondition sequence of the device commands; true when the page may open.
    bool DeviceCommand(bool announce);

private:
    void OpenPage(int key, bool addressTable);
    void OnTrend();
    bool CheckTotalize();
    bool CheckGwrLevel();
    bool CheckForDebug();
    bool CheckSelfCompensation();
    bool CheckImsi();
    bool CheckAutoCalibrationStart();

    CMainFrame& m_frame;
};
