#pragma once

#include "platform/VxPlatformExport.h"

#include <QFrame>
#include <QImage>

namespace vx::ui {

// A picture in a frame: drawn as it is, stretched to the frame, or scaled to fit it keeping its
// proportions (centred).
class VXPLATFORM_EXPORT ImageView : public QFrame {
    Q_OBJECT
public:
    enum class Scaling { None, Stretch, Proportional };

    explicit ImageView(QWidget *parent = nullptr);

    QImage picture() const { return m_picture; }
    void setPicture(const QImage &picture);
    void clear() { setPicture({}); }
    // Loads a picture by a stored path (see loadPicture). False, with the picture unchanged, when
    // the file cannot be read.
    bool loadFile(const QString &storedPath);

    Scaling scaling() const { return m_scaling; }
    void setScaling(Scaling scaling);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRect targetRect() const;

    QImage m_picture;
    Scaling m_scaling = Scaling::Proportional;
};

}  // namespace vx::ui
