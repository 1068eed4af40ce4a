#include "startup_window/startup_template.h"

#include "startup_window/button_press_handler.h"

namespace {

// Texts are GBK (code page 936) bytes, handed to the multibyte window
// functions unchanged.
constexpr char kWindowKindName[] = "\xB4\xB0\xBF\xDA";  // "窗口"
constexpr char kButtonKindName[] = "\xB0\xB4\xC5\xA5";  // "按钮"
constexpr char kButtonName[] = "\xB0\xB4\xC5\xA5" "1";  // "按钮1"

void RunButtonPressHandler(EventArgs) { ButtonPressHandler(); }

constexpr EventBinding kButtonBindings[] = {
    {kButtonPressEvent, RunButtonPressHandler},
};

constexpr WindowProperties kWindowProperties = {
    .caption = "",
    .borderStyle = 0,
    .backColor = kDefaultBackColor,
    .backPicture = nullptr,
    .backPictureMode = 1,
    .backSound = nullptr,
    .backSoundRepeat = 0,
    .controlBox = true,
    .maximizeBox = false,
    .minimizeBox = true,
    .startPosition = StartPosition::Centred,
    .movable = true,
    .icon = nullptr,
    .enterMovesFocus = false,
    .escCloses = true,
    .f1OpensHelp = false,
    .helpFile = "",
    .helpContext = 0,
    .showInTaskBar = true,
    .dragToMove = false,
    .shape = 0,
    .alwaysOnTop = false,
    .keepTitleBarActive = false,
    .windowClassName = "",
};

constexpr ButtonProperties kButtonProperties = {
    .picture = nullptr,
    .buttonKind = ButtonKind::Ordinary,
    .caption = "r",
    .horizontalAlign = 1,
    .verticalAlign = 1,
    .font = nullptr,
};

constexpr Element kElements[] = {
    {
        .kind = ElementKind::Window,
        .kindName = kWindowKindName,
        .name = "",
        .id = kStartupWindowElementId,
        .common = {.left = 50, .top = 50, .width = 392, .height = 384, .tag = "",
                   .visible = true, .disabled = false, .tabStop = false, .tabOrder = 0,
                   .mousePointer = MousePointer::Default, .bindings = nullptr, .bindingCount = 0},
        .window = &kWindowProperties,
        .button = nullptr,
    },
    {
        .kind = ElementKind::Button,
        .kindName = kButtonKindName,
        .name = kButtonName,
        .id = kStartupButtonId,
        .common = {.left = 64, .top = 24, .width = 288, .height = 32, .tag = "",
                   .visible = true, .disabled = false, .tabStop = true, .tabOrder = 0,
                   .mousePointer = MousePointer::Default, .bindings = kButtonBindings,
                   .bindingCount = 1},
        .window = nullptr,
        .button = &kButtonProperties,
    },
};

constexpr WindowTemplate kStartupTemplate = {kStartupTemplateId, kElements, 2};
constexpr const WindowTemplate* kTemplates[] = {&kStartupTemplate};
constexpr TemplateLibrary kLibrary = {kTemplates, 1};

}  // namespace

const WindowTemplate& StartupTemplate() { return kStartupTemplate; }
const TemplateLibrary& ProgramTemplates() { return kLibrary; }
