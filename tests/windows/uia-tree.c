// What a Windows screen reader is told of the program's windows: each visible top-level window
// of Qt's, its menus too, read through UI Automation's raw view, one element a line: its depth
// (0 for a window), control type, whether it is off screen, its place, automation id, name,
// whether it has the keyboard focus (a window: whether it is the active one), description
// (FullDescription, where Qt puts QAccessible::Description) and its text as its TextPattern gives
// it, or "-" without one, separated by tabs, in UTF-8.
//   uia-tree.exe
// Only what Wine's UI Automation offers is used: the raw tree walker (the built-in walkers are
// missing) and GetCurrentPropertyValueEx (GetCurrentPropertyValue is a stub there). Wine 10 gives
// no control pattern (GetCurrentPatternAs returns E_NOTIMPL): the first refusal is told on
// standard error, and each text is then "-".
#define COBJMACROS
#include <initguid.h>

#include <fcntl.h>
#include <io.h>
#include <ole2.h>
#include <stdio.h>
#include <stdlib.h>
#include <uiautomation.h>
#include <wchar.h>
#include <windows.h>

// UI Automation's own names of its control types, from UIA_ButtonControlTypeId on.
static const char *const ControlTypes[] = { "Button", "Calendar", "CheckBox", "ComboBox", "Edit",
    "Hyperlink", "Image", "ListItem", "List", "Menu", "MenuBar", "MenuItem", "ProgressBar",
    "RadioButton", "ScrollBar", "Slider", "Spinner", "StatusBar", "Tab", "TabItem", "Text",
    "ToolBar", "ToolTip", "Tree", "TreeItem", "Custom", "Group", "Thumb", "DataGrid", "DataItem",
    "Document", "SplitButton", "Window", "Pane", "Header", "HeaderItem", "Table", "TitleBar",
    "Separator" };

static IUIAutomation *automation;
static IUIAutomationTreeWalker *walker;
static int windowsRead;

static void fail(const char *what, HRESULT result)
{
    fprintf(stderr, "uia-tree: %s failed (0x%08lx)\n", what, (unsigned long)result);
    exit(1);
}

static VARIANT property(IUIAutomationElement *element, PROPERTYID id)
{
    VARIANT value;
    VariantInit(&value);
    HRESULT result = IUIAutomationElement_GetCurrentPropertyValueEx(element, id, FALSE, &value);
    if (FAILED(result))
        fail("GetCurrentPropertyValueEx", result);
    return value;
}

// Text as one field, however long: UTF-8, with tabs and line breaks as spaces.
static void printText(const wchar_t *text)
{
    int length = text ? WideCharToMultiByte(CP_UTF8, 0, text, -1, NULL, 0, 0, 0) : 0;
    char *buffer = length > 0 ? malloc(length) : NULL;
    if (!buffer || !WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, length, 0, 0)) {
        free(buffer);
        return;
    }
    for (char *c = buffer; *c; ++c)
        if (*c == '\t' || *c == '\r' || *c == '\n')
            *c = ' ';
    fputs(buffer, stdout);
    free(buffer);
}

// The element's whole text as its TextPattern gives it, or "-" when it gives none.
static void printPatternText(IUIAutomationElement *element)
{
    static BOOL refusalTold;
    IUIAutomationTextPattern *pattern = NULL;
    IUIAutomationTextRange *range = NULL;
    BSTR text = NULL;
    HRESULT result = IUIAutomationElement_GetCurrentPatternAs(
        element, UIA_TextPatternId, &IID_IUIAutomationTextPattern, (void **)&pattern);
    if (SUCCEEDED(result) && pattern)
        result = IUIAutomationTextPattern_get_DocumentRange(pattern, &range);
    if (SUCCEEDED(result) && range)
        result = IUIAutomationTextRange_GetText(range, -1, &text);
    if (FAILED(result) && !refusalTold) {
        fprintf(stderr, "uia-tree: no TextPattern's text (0x%08lx)\n", (unsigned long)result);
        refusalTold = TRUE;
    }
    if (text)
        printText(text);
    else
        fputs("-", stdout);
    SysFreeString(text);
    if (range)
        IUIAutomationTextRange_Release(range);
    if (pattern)
        IUIAutomationTextPattern_Release(pattern);
}

static void printElement(IUIAutomationElement *element, int depth)
{
    VARIANT type = property(element, UIA_ControlTypePropertyId);
    VARIANT offscreen = property(element, UIA_IsOffscreenPropertyId);
    VARIANT rect = property(element, UIA_BoundingRectanglePropertyId);
    VARIANT id = property(element, UIA_AutomationIdPropertyId);
    VARIANT name = property(element, UIA_NamePropertyId);
    VARIANT focus = property(element, UIA_HasKeyboardFocusPropertyId);
    VARIANT description = property(element, UIA_FullDescriptionPropertyId);

    int typeIndex = V_VT(&type) == VT_I4 ? V_I4(&type) - UIA_ButtonControlTypeId : -1;
    const int typeCount = sizeof ControlTypes / sizeof *ControlTypes;
    printf("%d\t%s\t%d\t", depth,
        typeIndex >= 0 && typeIndex < typeCount ? ControlTypes[typeIndex] : "-",
        V_VT(&offscreen) == VT_BOOL && V_BOOL(&offscreen));
    double *place = NULL;
    if (V_VT(&rect) == (VT_ARRAY | VT_R8) && V_ARRAY(&rect)->rgsabound[0].cElements == 4
        && SUCCEEDED(SafeArrayAccessData(V_ARRAY(&rect), (void **)&place))) {
        printf("%.0f,%.0f,%.0f,%.0f", place[0], place[1], place[2], place[3]);
        SafeArrayUnaccessData(V_ARRAY(&rect));
    } else {
        fputs("-", stdout);
    }
    putchar('\t');
    printText(V_VT(&id) == VT_BSTR ? V_BSTR(&id) : NULL);
    putchar('\t');
    printText(V_VT(&name) == VT_BSTR ? V_BSTR(&name) : NULL);
    printf("\t%d\t", V_VT(&focus) == VT_BOOL && V_BOOL(&focus));
    printText(V_VT(&description) == VT_BSTR ? V_BSTR(&description) : NULL);
    putchar('\t');
    printPatternText(element);
    putchar('\n');
    VariantClear(&type);
    VariantClear(&offscreen);
    VariantClear(&rect);
    VariantClear(&id);
    VariantClear(&name);
    VariantClear(&focus);
    VariantClear(&description);
}

static void printTree(IUIAutomationElement *element, int depth)
{
    printElement(element, depth);
    IUIAutomationElement *child = NULL;
    HRESULT result = IUIAutomationTreeWalker_GetFirstChildElement(walker, element, &child);
    if (FAILED(result))
        fail("GetFirstChildElement", result);
    while (child) {
        printTree(child, depth + 1);
        IUIAutomationElement *next = NULL;
        result = IUIAutomationTreeWalker_GetNextSiblingElement(walker, child, &next);
        if (FAILED(result))
            fail("GetNextSiblingElement", result);
        IUIAutomationElement_Release(child);
        child = next;
    }
}

static BOOL CALLBACK readWindow(HWND window, LPARAM unused)
{
    (void)unused;
    wchar_t windowClass[256];
    // Qt's windows only, not those Wine or the system keep.
    if (!IsWindowVisible(window) || !GetClassNameW(window, windowClass, 256)
        || wcsncmp(windowClass, L"Qt", 2) != 0)
        return TRUE;
    IUIAutomationElement *element = NULL;
    HRESULT result = IUIAutomation_ElementFromHandle(automation, window, &element);
    if (FAILED(result) || !element)
        fail("ElementFromHandle", result);
    printTree(element, 0);
    IUIAutomationElement_Release(element);
    ++windowsRead;
    return TRUE;
}

int main(void)
{
    _setmode(_fileno(stdout), _O_BINARY);

    HRESULT result = CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
    if (FAILED(result))
        fail("CoInitializeEx", result);
    result = CoCreateInstance(&CLSID_CUIAutomation, NULL, CLSCTX_INPROC_SERVER,
        &IID_IUIAutomation, (void **)&automation);
    if (FAILED(result))
        fail("CoCreateInstance(CLSID_CUIAutomation)", result);
    IUIAutomationCondition *everything = NULL;
    result = IUIAutomation_CreateTrueCondition(automation, &everything);
    if (FAILED(result))
        fail("CreateTrueCondition", result);
    result = IUIAutomation_CreateTreeWalker(automation, everything, &walker);
    if (FAILED(result))
        fail("CreateTreeWalker", result);

    EnumWindows(readWindow, 0);
    fflush(stdout);
    if (!windowsRead) {
        fputs("uia-tree: no window of Qt's is showing\n", stderr);
        return 1;
    }
    return 0;
}
