#pragma once

#include <QPicture>

// A page picture recorded against a reference device (the printer): it reports the printer's
// resolution, so fonts set on its painter keep their size in printer dots and the text breaks
// and plays back as on paper.
class PagePicture : public QPicture {
public:
    PagePicture() = default;
    explicit PagePicture(const QPaintDevice *reference);

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    int m_dpiX = 0;
    int m_dpiY = 0;
};
