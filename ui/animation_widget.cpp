// The animation area's playing: one frame per tick of its own timer. The
// timer only paces what the operator sees, so it runs on real time.
#include "ui/animation_widget.h"

#include <QPainter>

#include "ui/avi_clip.h"

AnimationWidget::AnimationWidget(QWidget* parent) : QWidget(parent), m_timer(this) {
    m_timer.setSingleShot(false);
    connect(&m_timer, &QTimer::timeout, this, &AnimationWidget::nextFrame);
}

AnimationWidget::~AnimationWidget() = default;

bool AnimationWidget::Open(const std::string& path) {
    Close();
    auto clip = std::make_unique<AviClip>();
    if (!clip->loadFile(path)) return false;
    m_clip = std::move(clip);
    if (m_autoPlay) {
        Play();
    } else {
        m_clip->decodeNext();
        update();
    }
    return true;
}

void AnimationWidget::Play() {
    if (!isOpen()) return;
    m_clip->rewind();
    m_clip->decodeNext();
    m_timer.start(m_clip->frameDelayMs());
    update();
}

void AnimationWidget::Stop() { m_timer.stop(); }

void AnimationWidget::Close() {
    m_timer.stop();
    m_clip.reset();
    update();
}

void AnimationWidget::setBackColor(const QColor& colour) {
    m_backColor = colour;
    update();
}

bool AnimationWidget::isOpen() const { return m_clip != nullptr; }

int AnimationWidget::frameCount() const { return isOpen() ? m_clip->frameCount() : 0; }

int AnimationWidget::currentFrame() const { return isOpen() ? m_clip->currentFrame() : -1; }

int AnimationWidget::frameDelayMs() const { return isOpen() ? m_clip->frameDelayMs() : 0; }

QImage AnimationWidget::currentImage() const { return isOpen() ? m_clip->image() : QImage(); }

void AnimationWidget::nextFrame() {
    // Every frame decoded once when the clip opened, so this cannot fail;
    // should it all the same, the area stops on the frame it has.
    if (!isOpen() || !m_clip->decodeNext()) {
        m_timer.stop();
        return;
    }
    update();
}

void AnimationWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_backColor);
    if (!isOpen() || m_clip->currentFrame() < 0) return;
    const QImage& frame = m_clip->image();
    const QPoint topLeft((width() - frame.width()) / 2, (height() - frame.height()) / 2);
    painter.drawImage(topLeft, frame);
}
