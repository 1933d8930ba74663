"""The window at 100, 125, 150 and 200 % display scale: its outer size and every control are the 100 %
figures times the scale, the lamps are painted at their scaled places, and no caption is wider than its
control when measured in the control's own font."""
from harness.texts import RU, SETTINGS

LAMPS = [((355, y), colour) for y, colour in zip((150, 240, 330, 420, 510), (0xFF, 0xFF, 0xFF00FF, 0xFF, 0xFFFFFF))]
RADIO = 9  # the button style whose box stands before its caption


def layout(app):
    """The outer size, and each control's rectangle in the client area. A drop-down list's closed height
    is the system's (it follows the font), so only its place and width count."""
    info = app.info()
    left, top = info["client"][:2]
    rects = [[r[0] - left, r[1] - top, r[2] - left, r[3] - top if c["class"] != "ComboBox" else r[1] - top]
             for c in app.children() for r in [c["rect"]]]
    return [info["rect"][2] - info["rect"][0], info["rect"][3] - info["rect"][1]], rects


def test_the_window_is_laid_out_and_drawn_at_every_display_scale(env):
    try:
        for dpi in (96, 120, 144, 192):
            def scaled(value):  # as the system rounds: halves away from zero
                return (value * dpi + 48) // 96
            env.set_dpi(dpi)
            app = env.start_app(env.new_workdir(f"scale-{dpi}"), SETTINGS[(RU, "KRT_KRN")])
            app.finish_startup_search()
            size, rects = layout(app)
            if dpi == 96:
                base_size, base_rects = size, rects
            assert all(abs(v - scaled(b)) <= 1 for v, b in zip(size, base_size)), (dpi, size)
            for rect, base in zip(rects, base_rects):
                assert all(abs(v - scaled(b)) <= 1 for v, b in zip(rect, base)), (dpi, rect, base)
            for (x, y), colour in LAMPS:
                assert env.driver.pixel(app.hwnd, scaled(x), scaled(y)) == colour, (dpi, x, y)
            for control, style, text_width, width in env.driver.captions(app.hwnd):
                assert text_width <= width - (scaled(16) if style == RADIO else 0), (dpi, control, text_width, width)
            env.screenshot(f"scale-{dpi}", app.info()["rect"])
            app.kill()
    finally:
        env.set_dpi(96)
