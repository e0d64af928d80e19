#pragma once

#include <QString>

// Where the unpacker keeps its three fixed-name temporary files. The shared temporary folder is open
// to every user, so the fixed folder is used only when both of its levels are real folders owned by
// the current user and closed to others; otherwise a fresh private folder takes its place.
class VzipScratchFolder
{
public:
    // The folder path ends with "/"; empty when not even a private folder could be made. Without a
    // usable temporary folder the private one is made in `fallbackParent`.
    static VzipScratchFolder prepare(const QString& fallbackParent);

    QString path() const { return m_path; }
    bool isValid() const { return !m_path.isEmpty(); }
    // Removes the folder itself when it is a private one made for this unpacking (and now empty).
    void releaseIfPrivate() const;

private:
    QString m_path;
    bool m_private = false;
};
