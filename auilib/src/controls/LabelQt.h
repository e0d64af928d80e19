#pragma once

#include "RGBColor.h"

#include <QLabel>
#include <QPointer>

class QMovie;

namespace AUILib {

class Label;

// The label's widget. It keeps the parts of the label's one hyperlink, its colours and the movie it
// plays. Once its control is gone it is a plain QLabel.
class LabelQt : public QLabel
{
    Q_OBJECT
public:
    explicit LabelQt(Label& owner);
    ~LabelQt() override;

    // For the control's implementation when it goes.
    void ReleaseOwner() { m_owner = nullptr; }

    void SetLinkParts(const QString& before, const QString& link, const QString& after, const QString& target);
    // A text without a link, or a picture, takes the link's place: colouring and the mnemonic leave it be.
    void ForgetLink();
    const QString& LinkText() const { return m_link; }
    RGBColor LinkColor() const { return m_linkColor; }
    void SetLinkColors(RGBColor link, RGBColor visited, RGBColor hover);
    // `text` with the colour style of its anchors (the style written first) in the link colour.
    QString Recoloured(QString text) const;
    // The hyperlink rebuilt from the stored parts in `colour`.
    QString RebuiltLink(RGBColor colour) const;

    // The label owns the movies it plays: a replaced one goes once it is no longer shown.
    void ShowMovie(QMovie* movie);
    void ShowPixmap(const QPixmap& pixmap);
    void ShowNothing();
    // A still picture or a movie, whose place no layout of the old text takes.
    bool ShowsPicture() const;

protected:
    bool event(QEvent* event) override;

private:
    void DropMovieUnlessShown();

    Label* m_owner;
    QString m_before;
    QString m_link;
    QString m_after;
    QString m_target;
    RGBColor m_linkColor;
    RGBColor m_visitedColor;
    RGBColor m_hoverColor;
    QPointer<QMovie> m_movie;
};

} // namespace AUILib
