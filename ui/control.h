// The control model the console's windows are built from: each control has
// a name, an index within its control array (-1 when it stands alone), a
// Tag, and a position and size in twips relative to its container (the
// window's client area, a frame or a picture box). Colours are RGB values
// (ui/color.h). A property a kind lacks is refused: its setter returns
// false and changes nothing, so the look operations can pass over it.
#pragma once
#include <QPixmap>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QWidget;
class QObject;

namespace ui {

class Form;

enum class Kind {
    Label,
    CommandButton,
    Button3D,
    Frame,
    OptionButton,
    TextBox,
    PictureBox,
    Panel3D,
    Image,
    Timer,
    AnimationArea,
    ProgressBar,
    UpDown,
    ListView,
};

// Mouse buttons and shift keys as the mouse and key handlers receive them.
constexpr int vbLeftButton = 1;
constexpr int vbRightButton = 2;
constexpr int vbMiddleButton = 4;
constexpr int vbShiftMask = 1;
constexpr int vbCtrlMask = 2;
constexpr int vbAltMask = 4;

class Control {
public:
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control();

    Kind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    int index() const { return index_; }  // -1 when not in a control array
    Form& form() const { return form_; }
    Control* container() const { return container_; }  // null = the window itself
    // The widget on screen; null for a timer.
    QWidget* widget() const { return widget_; }

    const std::string& tag() const { return tag_; }
    void setTag(std::string sTag) { tag_ = std::move(sTag); }

    // Own Enabled and Visible properties (a control inside a disabled frame
    // keeps its own Enabled, as the operator can still see it lit).
    bool enabled() const { return enabled_; }
    void setEnabled(bool booEnabled);
    bool visible() const { return visible_; }
    void setVisible(bool booVisible);

    // Position and size in twips, relative to the container.
    int32_t left() const { return left_; }
    int32_t top() const { return top_; }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    void setLeft(int32_t l) { move(l, top_, width_, height_); }
    void setTop(int32_t t) { move(left_, t, width_, height_); }
    virtual bool setWidth(int32_t w);
    virtual bool setHeight(int32_t h);
    void move(int32_t lLeft, int32_t lTop, int32_t lWidth, int32_t lHeight);
    void move(int32_t lLeft, int32_t lTop) { move(lLeft, lTop, width_, height_); }

    // Optional properties: false (and nothing changed) when the kind lacks them.
    virtual bool setCaption(const std::string& sCaption);
    virtual std::optional<std::string> caption() const { return std::nullopt; }
    virtual bool setBackColor(int32_t lColor);
    std::optional<int32_t> backColor() const { return backColor_; }
    virtual bool setForeColor(int32_t lColor);
    std::optional<int32_t> foreColor() const { return foreColor_; }
    // A null pixmap clears the picture.
    virtual bool setPicture(const QPixmap& pic);
    virtual QPixmap picture() const { return {}; }

    void setFocus();
    bool hasFocus() const;
    // Redraw now.
    void refresh();
    // Bring to the front of its siblings.
    void zOrderFront();

    // The operator's press with the left button, as the mouse would make it:
    // nothing happens while the control, or its window or container, is
    // disabled or hidden. True when the press reached the control.
    virtual bool click();

    // Event handlers; an empty one means the event is ignored. X and Y are
    // twips relative to the control.
    std::function<void()> onClick;
    std::function<void(int Button, int Shift, int32_t X, int32_t Y)> onMouseDown;
    std::function<void(int Button, int Shift, int32_t X, int32_t Y)> onMouseUp;
    std::function<void()> onGotFocus;
    std::function<void()> onChange;

    // Raise the events (also used by the kinds' widgets).
    void fireClick();
    void fireChange();
    void fireMouse(bool booDown, int Button, int Shift, int32_t X, int32_t Y);
    void fireGotFocus();

    // Whether a press can reach the control now (own, container and window
    // enabled and visible).
    bool booReachable() const;

protected:
    Control(Kind kind, Form& form, std::string name, int index, Control* container);
    // Takes ownership of the widget, parents it into the container, hooks
    // the mouse, focus and key events and places it.
    void attach(QWidget* w);
    // The widget that holds child controls (containers only).
    virtual QWidget* childArea() const { return widget_; }
    // Applies the colours to the widget (after the stored values changed).
    virtual void applyColors() {}
    virtual void applyEnabled();
    void placeWidget();

    std::optional<int32_t> backColor_;
    std::optional<int32_t> foreColor_;

private:
    friend class Form;
    Kind kind_;
    Form& form_;
    std::string name_;
    int index_;
    Control* container_;
    QWidget* widget_ = nullptr;
    std::unique_ptr<QObject> hook_;
    std::string tag_;
    bool enabled_ = true;
    bool visible_ = true;
    int32_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
};

}  // namespace ui
