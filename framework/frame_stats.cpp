// The frame-statistics text: frame rate, back-buffer size and formats, refreshed about once a second.
#include "host_app.h"

#include <cstring>

#include "crtcompat.h"

#include "app_timer.h"
#include "format_names.h"
#include "process_state.h"

namespace {
float s_lastStatsClock = 0.0f;  // clock reading of the last update
int32_t s_framesCounted = 0;    // frames since then
}  // namespace

void framework_detail::ResetStatsState() {
    s_lastStatsClock = 0.0f;
    s_framesCounted = 0;
}

void CD3DHostApp::RefreshStatsText() {
    const float now = AppTimer(TimerOp::ClockSeconds);
    ++s_framesCounted;
    if (!(now - s_lastStatsClock > 1.0f)) return;

    m_framesPerSecond = static_cast<float>(s_framesCounted) / (now - s_lastStatsClock);
    s_lastStatsClock = now;
    s_framesCounted = 0;

    const D3DFORMAT displayFormat = m_settings.ActiveDisplayMode().Format;
    const D3DFORMAT backBufferFormat = m_backBufferDesc.Format;

    char formatPart[100];
    if (displayFormat == backBufferFormat) {
        std::strncpy(formatPart, FormatName(backBufferFormat, false), sizeof formatPart - 1);
    } else {
        _snprintf(formatPart, sizeof formatPart, "backbuf %s, adapter %s", FormatName(backBufferFormat, false),
                  FormatName(displayFormat, false));
    }
    formatPart[sizeof formatPart - 1] = '\0';

    char depthPart[100] = "";
    if (m_catalog.m_usesDepthBuffer) {
        _snprintf(depthPart, sizeof depthPart, " (%s)", FormatName(m_settings.ActiveDepthStencilFormat(), false));
        depthPart[sizeof depthPart - 1] = '\0';
    }

    char multisamplePart[32] = "";
    const int samples = static_cast<int>(m_settings.ActiveMultisampleType());
    if (samples == 1) {
        std::strcpy(multisamplePart, " (Nonmaskable Multisample)");
    } else if (samples >= 2 && samples <= 16) {
        _snprintf(multisamplePart, sizeof multisamplePart, " (%dx Multisample)", samples);
        multisamplePart[sizeof multisamplePart - 1] = '\0';
    }

    _snprintf(m_frameStatsText, sizeof m_frameStatsText, "%.02f fps (%dx%d), %s%s%s",
              static_cast<double>(m_framesPerSecond), static_cast<int>(m_backBufferDesc.Width),
              static_cast<int>(m_backBufferDesc.Height), formatPart, depthPart, multisamplePart);
    m_frameStatsText[sizeof m_frameStatsText - 1] = '\0';
}
