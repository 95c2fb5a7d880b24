// An animation area: plays a silent video clip in a loop, the way the
// legacy console's animation control did, so that the clip files of a
// legacy installation play unchanged. The frame is drawn in the middle of
// the area over the background colour.
#pragma once

#include <QColor>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <string>

class AviClip;

class AnimationWidget : public QWidget {
    Q_OBJECT
public:
    explicit AnimationWidget(QWidget* parent = nullptr);
    ~AnimationWidget() override;

    // Frees the clip shown so far, even when the new one cannot be opened;
    // false when the file is missing, unreadable or not a clip we play.
    // With play-on-open on, the new clip starts playing at once; otherwise
    // its first frame stands still.
    bool Open(const std::string& path);
    void Play();   // from the first frame, looping until stopped
    void Stop();   // the frame on show stays
    void Close();  // frees the clip; the area shows its background colour

    void setAutoPlay(bool on) { m_autoPlay = on; }
    bool autoPlay() const { return m_autoPlay; }
    void setBackColor(const QColor& colour);
    QColor backColor() const { return m_backColor; }

    bool isOpen() const;
    bool isPlaying() const { return m_timer.isActive(); }
    int frameCount() const;
    int currentFrame() const;  // -1 with no clip
    int frameDelayMs() const;  // 0 with no clip
    QImage currentImage() const;  // null with no clip

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void nextFrame();

    std::unique_ptr<AviClip> m_clip;
    QTimer m_timer;
    bool m_autoPlay = false;
    QColor m_backColor = Qt::white;
};
