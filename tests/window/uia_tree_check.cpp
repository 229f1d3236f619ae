// Reads the meter's window as a Windows screen reader does, through UI
// Automation's client (uiautomationcore.dll's flat functions), and checks
// what a listener needs from it: every control's name, its type and
// whether the keyboard reaches it, and Tab moving the focus in order.
//
//     uia_tree_check METER.EXE REPORT.TXT
//
// Starts the meter, prints the tree element by element to the report (a
// console program's output may not reach a pipe under wine) and ends with
// 0 when all holds and 1 when not, a system with no working UI Automation
// client among the failures, as wine 8 has none: it takes the window's node
// and then never answers.
#include <windows.h>

#include <oleauto.h>
#include <uiautomationclient.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <future>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

// The flat client functions, which Debian 12's mingw-w64 does not declare
// (its uiautomationcoreapi.h does not compile as C++) and has no import
// library for; taken from the DLL at run time.
DECLARE_HANDLE(HUIANODE);
enum ConditionType { ConditionType_True = 0 };
struct UiaCondition {
    ConditionType type;
};
enum TreeScope { TreeScope_Element = 1 };
enum AutomationElementMode { AutomationElementMode_Full = 1 };
struct UiaCacheRequest {
    UiaCondition* viewCondition;
    TreeScope scope;
    PROPERTYID* properties;
    int propertyCount;
    PATTERNID* patterns;
    int patternCount;
    AutomationElementMode mode;
};
struct UiaFindParams {
    int maxDepth;
    BOOL findFirst;
    BOOL excludeRoot;
    UiaCondition* findCondition;
};

// Wine 10 has no UiaGetPatternProvider (a stub that ends the program) and
// no UiaNavigate from a window's node to its children; UiaFind serves.
struct Client {
    HRESULT(WINAPI* nodeFromHandle)(HWND, HUIANODE*);
    HRESULT(WINAPI* find)
    (HUIANODE, UiaFindParams*, UiaCacheRequest*, SAFEARRAY**, SAFEARRAY**, SAFEARRAY**);
    HRESULT(WINAPI* propertyValue)(HUIANODE, PROPERTYID, VARIANT*);
    HRESULT(WINAPI* nodeFromVariant)(VARIANT*, HUIANODE*);
    BOOL(WINAPI* nodeRelease)(HUIANODE);
};

const std::map<long, const char*> typeNames{
    {UIA_ButtonControlTypeId, "button"},        {UIA_EditControlTypeId, "edit"},
    {UIA_ScrollBarControlTypeId, "scroll bar"}, {UIA_TextControlTypeId, "text"},
    {UIA_GroupControlTypeId, "group"},          {UIA_WindowControlTypeId, "window"},
};

FILE* report = nullptr;

template <typename... Args> void say(const char* format, Args... args)
{
    std::fprintf(report, format, args...);
    std::fflush(report);
}

std::string utf8(const wchar_t* text)
{
    if (!text || !*text)
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    out.pop_back();
    return out;
}

std::optional<Client> loadClient(std::string& missing)
{
    HMODULE dll = LoadLibraryW(L"uiautomationcore.dll");
    if (!dll) {
        missing = "uiautomationcore.dll";
        return std::nullopt;
    }
    Client client{};
    const auto take = [&](auto& function, const char* name) {
        function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
            reinterpret_cast<void*>(GetProcAddress(dll, name)));
        if (!function && missing.empty())
            missing = name;
    };
    take(client.nodeFromHandle, "UiaNodeFromHandle");
    take(client.find, "UiaFind");
    take(client.propertyValue, "UiaGetPropertyValue");
    take(client.nodeFromVariant, "UiaHUiaNodeFromVariant");
    take(client.nodeRelease, "UiaNodeRelease");
    if (!missing.empty())
        return std::nullopt;
    return client;
}

struct Element {
    int depth;
    long type;
    std::string name;
    bool focusable;
};

// A property as text; empty where the provider gave none.
std::string textOf(const Client& client, HUIANODE node, PROPERTYID property)
{
    VARIANT value;
    VariantInit(&value);
    std::string text;
    if (SUCCEEDED(client.propertyValue(node, property, &value)) && value.vt == VT_BSTR)
        text = utf8(value.bstrVal);
    VariantClear(&value);
    return text;
}

long longOf(const Client& client, HUIANODE node, PROPERTYID property)
{
    VARIANT value;
    VariantInit(&value);
    long out = 0;
    if (SUCCEEDED(client.propertyValue(node, property, &value)) &&
        SUCCEEDED(VariantChangeType(&value, &value, 0, VT_I4)))
        out = value.lVal;
    VariantClear(&value);
    return out;
}

// The nodes a find request returned: the first cell of each row of
// its requested data, where the cache request's full mode puts them.
std::vector<HUIANODE> nodesOf(const Client& client, SAFEARRAY* data)
{
    std::vector<HUIANODE> nodes;
    LONG last = -1;
    if (!data || FAILED(SafeArrayGetUBound(data, 1, &last)))
        last = -1;
    for (LONG row = 0; row <= last; ++row) {
        LONG cell[2] = {row, 0};
        VARIANT value;
        VariantInit(&value);
        HUIANODE node = nullptr;
        if (SUCCEEDED(SafeArrayGetElement(data, cell, &value)) &&
            SUCCEEDED(client.nodeFromVariant(&value, &node)) && node)
            nodes.push_back(node);
        VariantClear(&value);
    }
    if (data)
        SafeArrayDestroy(data);
    return nodes;
}

UiaCondition everything{ConditionType_True};
UiaCacheRequest nodeOnly{&everything, TreeScope_Element,         nullptr, 0, nullptr,
                         0,           AutomationElementMode_Full};

std::vector<HUIANODE> childrenOf(const Client& client, HUIANODE node)
{
    UiaFindParams children{1, FALSE, TRUE, &everything};
    SAFEARRAY *data = nullptr, *offsets = nullptr, *structures = nullptr;
    if (FAILED(client.find(node, &children, &nodeOnly, &data, &offsets, &structures)))
        return {};
    for (SAFEARRAY* unused : {offsets, structures})
        if (unused)
            SafeArrayDestroy(unused);
    return nodesOf(client, data);
}

// Describes NODE and the elements below it; keeps the focusable ones' nodes.
void walk(const Client& client, HUIANODE node, int depth, std::vector<Element>& elements,
          std::vector<HUIANODE>& focusable)
{
    elements.push_back({depth, longOf(client, node, UIA_ControlTypePropertyId),
                        textOf(client, node, UIA_NamePropertyId),
                        longOf(client, node, UIA_IsKeyboardFocusablePropertyId) != 0});
    for (HUIANODE child : childrenOf(client, node)) {
        const std::size_t described = elements.size();
        walk(client, child, depth + 1, elements, focusable);
        if (elements[described].focusable)
            focusable.push_back(child);
        else
            client.nodeRelease(child);
    }
}

// The control whose HasKeyboardFocus is true: under wine 10,
// UiaNodeFromFocus gives an element without a name wherever the focus is.
std::string focusedName(const Client& client, const std::vector<HUIANODE>& controls)
{
    for (HUIANODE control : controls)
        if (longOf(client, control, UIA_HasKeyboardFocusPropertyId) != 0)
            return textOf(client, control, UIA_NamePropertyId);
    return "(none)";
}

void pressTab()
{
    INPUT keys[2]{};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = VK_TAB;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
}

HWND waitForWindow(std::chrono::seconds limit)
{
    const auto until = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < until) {
        if (HWND window = FindWindowW(nullptr, L"" METER_TITLE))
            return window;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return nullptr;
}

std::wstring windowsPath(const wchar_t* path)
{
    std::wstring out = path;
    if (!out.empty() && out.front() == L'/')
        out = L"Z:" + out; // a path of the Linux system that wine runs on
    std::replace(out.begin(), out.end(), L'/', L'\\');
    return out;
}

// Every control of a type but text is reached by the keyboard.
struct Expected {
    long type;
    std::vector<std::string> names;
};

int check(const Client& client, HWND window)
{
    HUIANODE root = nullptr;
    if (const HRESULT result = client.nodeFromHandle(window, &root); FAILED(result) || !root) {
        say("FAIL: UiaNodeFromHandle answered 0x%08lx for the meter's window\n",
            static_cast<unsigned long>(result));
        return 1;
    }
    std::vector<Element> elements;
    std::vector<HUIANODE> controls;
    walk(client, root, 0, elements, controls);

    say("The tree, element by element: type, name, keyboard focusable\n");
    for (const Element& element : elements) {
        const auto type = typeNames.find(element.type);
        say("%*s%s (%ld) \"%s\"%s", element.depth * 2, "",
            type == typeNames.end() ? "other" : type->second, element.type, element.name.c_str(),
            element.focusable ? ", focusable\n" : "\n");
    }

    std::vector<std::string> faults;
    if (elements.front().name != METER_TITLE)
        faults.push_back("the window is named \"" + elements.front().name +
                         "\", not by its title \"" METER_TITLE "\"");
    const Expected expected[] = {
        {UIA_ButtonControlTypeId, {"Start", "Stop", "Reset"}},
        {UIA_ScrollBarControlTypeId, {"Voltage setting", "Current setting"}},
        {UIA_EditControlTypeId,
         {"Voltage", "Current", "Watts", "Watt Hours", "Kilo Watt Hours", "Start Time", "Stop Time",
          "Elapsed Time (Seconds)"}},
        {UIA_TextControlTypeId,
         {"Watt Hour Simulator by Tolvane", "Voltage", "Current", "Watts", "Watt Hours",
          "Kilo Watt Hours", "Start Time", "Stop Time", "Elapsed Time (Seconds)", "V", "I", "250",
          "200", "210", "0"}},
    };
    for (const Expected& kind : expected) {
        std::multiset<std::string> found;
        for (const Element& element : elements) {
            if (element.type != kind.type)
                continue;
            found.insert(element.name);
            if (element.focusable != (kind.type != UIA_TextControlTypeId))
                faults.push_back("the " + std::string{typeNames.at(kind.type)} + " \"" +
                                 element.name + "\" is " + (element.focusable ? "" : "not ") +
                                 "keyboard focusable");
        }
        const std::multiset<std::string> wanted(kind.names.begin(), kind.names.end());
        if (found != wanted) {
            std::string list;
            for (const auto& name : found)
                list += " \"" + name + "\"";
            faults.push_back("the " + std::string{typeNames.at(kind.type)} + "s are named" +
                             (list.empty() ? " nothing" : list) + ", where " +
                             std::to_string(wanted.size()) + " are expected, each by its own name");
        }
    }

    // Tab from Start visits the controls in order, as UIA reports the focus.
    // clang-format off
    const std::vector<std::string> tabOrder{
        "Stop", "Voltage", "Current", "Watts", "Watt Hours", "Voltage setting", "Current setting",
        "Start Time", "Stop Time", "Elapsed Time (Seconds)", "Reset", "Kilo Watt Hours", "Start"};
    // clang-format on
    // The window opens with the focus on Start.
    std::vector<std::string> visited;
    SetForegroundWindow(window);
    const std::string first = focusedName(client, controls);
    say("Focus at start: \"%s\"\nTab visits:", first.c_str());
    if (first != "Start")
        faults.push_back("the focus is at start on \"" + first + "\", not on Start");
    for (std::size_t i = 0; i < tabOrder.size(); ++i) {
        pressTab();
        visited.push_back(focusedName(client, controls));
        say(" \"%s\"", visited.back().c_str());
    }
    say("\n");
    if (visited != tabOrder)
        faults.push_back("Tab does not visit the controls in the order of the window's definition");

    for (HUIANODE control : controls)
        client.nodeRelease(control);
    client.nodeRelease(root);
    for (const auto& fault : faults)
        say("FAIL: %s\n", fault.c_str());
    if (faults.empty())
        say("PASS: %zu elements; every control named, typed and reached as required\n",
            elements.size());
    return faults.empty() ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "Usage: uia_tree_check METER.EXE REPORT.TXT\n");
        return 2;
    }
    report = _wfopen(windowsPath(argv[2]).c_str(), L"w");
    if (!report)
        return 1;
    std::string missing;
    const std::optional<Client> client = loadClient(missing);
    if (!client) {
        say("FAIL: this system's UI Automation has no client: %s is missing\n", missing.c_str());
        return 1;
    }
    std::wstring command = L"\"" + windowsPath(argv[1]) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION meter{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &meter)) {
        say("FAIL: the meter could not be started (error %lu)\n", GetLastError());
        return 1;
    }
    int status = 1;
    if (HWND window = waitForWindow(std::chrono::seconds{60})) {
        std::this_thread::sleep_for(std::chrono::seconds{1});
        // Under a working client the check takes seconds.
        std::packaged_task<int()> reading{[&client, window] {
            CoInitializeEx(nullptr, COINIT_MULTITHREADED);
            return check(*client, window);
        }};
        std::future<int> read = reading.get_future();
        std::thread{std::move(reading)}.detach();
        if (read.wait_for(std::chrono::seconds{60}) == std::future_status::ready)
            status = read.get();
        else
            say("FAIL: this system's UI Automation client did not answer within 60 s\n");
    } else {
        say("FAIL: the meter's window \"" METER_TITLE "\" did not appear within 60 s\n");
    }
    TerminateProcess(meter.hProcess, 0);
    CloseHandle(meter.hThread);
    CloseHandle(meter.hProcess);
    std::fclose(report);
    // Not a return, which would wait for a reading that never ends.
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(status));
    return status;
}
