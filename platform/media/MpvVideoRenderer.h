#pragma once

#include <QObject>
#include <atomic>
#include <memory>

class QImage;
struct MpvFunctions;
struct mpv_handle;
struct mpv_render_context;

// Where a libmpv handle's pictures go: its render context, drawing with the
// CPU into memory the program owns. No GL driver is loaded for it, and it
// works the same on X11 and Wayland, since no window of libmpv's own exists.
// libmpv says from its own threads that a picture is due; the renderer only
// posts that to its own thread, which asks for the picture. It must go
// before the handle it was made for.
class CMpvVideoRenderer final : public QObject
{
    Q_OBJECT

public:
    // Null when libmpv would not make a render context for the handle; the
    // handle then plays sound only.
    static std::unique_ptr<CMpvVideoRenderer> Create(const MpvFunctions& mpv, mpv_handle* pHandle);
    ~CMpvVideoRenderer() override;

    // Draws the picture due now, or the last one again, scaled to fit the
    // image with black bars around. The image is laid out as
    // QImage::Format_RGB32, whose top byte libmpv leaves as it likes.
    bool Render(QImage& image);
    // Lets the picture due now go without drawing it (no one can see it).
    void Skip();

    // Render contexts alive in the process.
    static int LiveCount();

signals:
    void FrameDue();

private:
    CMpvVideoRenderer(const MpvFunctions& mpv, mpv_render_context* pContext);
    static void OnUpdate(void* pContext);
    void TellFrameDue();

    const MpvFunctions& m_mpv;
    mpv_render_context* m_pContext;
    // One call queued until it has run: libmpv may call far more often than
    // the control draws.
    std::atomic<bool> m_bFrameQueued = false;
};
