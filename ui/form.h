// A window of the console. It owns its controls in the order they were
// created (the look operations visit them in that order); controls of one
// array share a name and differ by index. Sizes and positions are twips.
//
// Lifetime: Load runs Form_Load once; Show loads when needed and shows the
// window, modally (waiting until it is unloaded or hidden) or not; Unload
// asks Form_QueryUnload, then runs Form_Unload and closes the window. A
// close request from the window manager takes the same road.
#pragma once
#include <QWidget>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/control.h"

class QEventLoop;

namespace ui {

// Why a window is being closed (UnloadMode).
constexpr int vbFormControlMenu = 0;  // the operator closed it from its title bar
constexpr int vbFormCode = 1;         // the program unloads it

class Form : public QWidget {
public:
    // owner: the window this one stays in front of (null for none).
    explicit Form(QWidget* owner = nullptr);
    ~Form() override;

    // Creates a control (twips, relative to container; null = the window).
    template <class C>
    C& add(std::string name, int index, Control* container, int32_t left, int32_t top, int32_t width,
           int32_t height) {
        auto p = std::make_unique<C>(*this, std::move(name), index, container);
        C& ref = *p;
        adopt(std::move(p));
        ref.move(left, top, width, height);
        return ref;
    }
    template <class C>
    C& add(std::string name, Control* container, int32_t left, int32_t top, int32_t width, int32_t height) {
        return add<C>(std::move(name), -1, container, left, top, width, height);
    }

    // The control of that name and index (-1 = not in an array), or null.
    Control* find(const std::string& name, int index = -1) const;
    // The same, of kind C; throws std::out_of_range when there is none.
    template <class C>
    C& ctl(const std::string& name, int index = -1) const {
        C* p = dynamic_cast<C*>(find(name, index));
        if (p == nullptr) throw std::out_of_range("no control " + name + "(" + std::to_string(index) + ")");
        return *p;
    }
    // Every control, in creation order.
    const std::vector<Control*>& controls() const { return order_; }
    int controlCount() const { return static_cast<int>(order_.size()); }
    // The members of a control array, by ascending index.
    std::vector<Control*> array(const std::string& name) const;

    // Title bar text.
    std::string caption() const;
    void setCaption(const std::string& sCaption);

    // Position on the screen and size in twips.
    int32_t left() const;
    int32_t top() const;
    int32_t width() const;
    int32_t height() const;
    void setLeft(int32_t lLeft);
    void setTop(int32_t lTop);
    void setWidth(int32_t lWidth);
    void setHeight(int32_t lHeight);
    void moveTwips(int32_t lLeft, int32_t lTop, int32_t lWidth, int32_t lHeight);

    // Colours (RGB values); the window's own background and text colour.
    int32_t backColor() const { return backColor_; }
    void setBackColor(int32_t lColor);
    int32_t foreColor() const { return foreColor_; }
    void setForeColor(int32_t lColor);

    // Runs Form_Load the first time; later calls do nothing.
    void Load();
    bool isLoaded() const { return loaded_; }
    // Shows the window; modal = wait here until it is unloaded or hidden.
    void Show(bool modal = false);
    void Hide();
    // True when the window was unloaded (Form_QueryUnload did not cancel).
    bool Unload(int unloadMode = vbFormCode);
    // Redraw now.
    void Refresh();
    // The owner value the message boxes take.
    void* hWnd() { return static_cast<QWidget*>(this); }
    // The number of times Form_Activate ran.
    int activations() const { return activations_; }

    // Window events; override the ones the window handles.
    virtual void Form_Load() {}
    // Each time the window becomes the active one (first and later times).
    virtual void Form_Activate() {}
    virtual void Form_QueryUnload(int& Cancel, int UnloadMode) {
        (void)Cancel;
        (void)UnloadMode;
    }
    virtual void Form_Unload() {}
    // Keys pressed anywhere in the window (the window sees them first).
    // KeyCode: the key (letters and digits as their upper-case ASCII code);
    // Shift: vbShiftMask | vbCtrlMask | vbAltMask.
    virtual void Form_KeyDown(int KeyCode, int Shift) {
        (void)KeyCode;
        (void)Shift;
    }

    // A key press as the keyboard makes it (tests and the control hooks).
    void keyDown(int KeyCode, int Shift);

    void setVisible(bool visible) override;

protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    void adopt(std::unique_ptr<Control> c);
    void runActivate();

    std::vector<std::unique_ptr<Control>> owned_;
    std::vector<Control*> order_;
    int32_t backColor_;
    int32_t foreColor_;
    bool loaded_ = false;
    bool unloading_ = false;
    bool inActivate_ = false;
    int activations_ = 0;
    QEventLoop* modalLoop_ = nullptr;
};

}  // namespace ui
