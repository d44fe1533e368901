#include "print/pagepicture.h"

PagePicture::PagePicture(const QPaintDevice *reference) {
    if (reference) {
        m_dpiX = reference->logicalDpiX();
        m_dpiY = reference->logicalDpiY();
    }
}

int PagePicture::metric(PaintDeviceMetric metric) const {
    switch (metric) {
    case PdmDpiX:
    case PdmPhysicalDpiX:
        return m_dpiX > 0 ? m_dpiX : QPicture::metric(metric);
    case PdmDpiY:
    case PdmPhysicalDpiY:
        return m_dpiY > 0 ? m_dpiY : QPicture::metric(metric);
    default:
        return QPicture::metric(metric);
    }
}
