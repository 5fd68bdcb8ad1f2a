#pragma once
// The splash screen: Images\SplashScreen.bmp of the program folder, shown until two
// seconds have passed or the user clicks it.
#include <functional>
#include <memory>

#include "ui/Bitmap.h"
#include "ui/Dialog.h"

class CSplashDlg : public ui::Dialog {
public:
    explicit CSplashDlg(ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    void OnTimer(int id) override;
    void OnPaint(ui::Painter& painter) override;
    bool HasPainting() const override { return true; }
    void OnLButtonDown(int x, int y) override;
    void OnDestroy() override;

    // What follows the splash (the main window goes to the product level).
    std::function<void()> m_afterDestroy;

    const std::shared_ptr<const ui::Bitmap>& GetBitmap() const { return m_bitmap; }
    const ui::Rect& GetDestination() const { return m_dest; }

private:
    std::shared_ptr<const ui::Bitmap> m_bitmap;
    ui::Rect m_dest;
};
