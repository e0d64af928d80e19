#pragma once

#include <QString>

// Where the unpacker keeps its three fixed-name temporary files. The shared temporary folder is open
// to every user, so the fixed folder is used only when both of its levels are real folders owned by
// the current user and closed to others; otherwise a fresh private folder takes its place.
class VzipScratchFolder
{
public:
    static constexpr const char* kLzmaPartFile = "jsinfile_tmp";
    static constexpr const char* kDecodedFile = "jsoutfile_tmp";
    static constexpr const char* kTableFile = "jsfileover_tmp";

    // The folder path ends with "/"; empty when not even a private folder could be made. Without a
    // usable temporary folder the private one is made in `fallbackParent`.
    static VzipScratchFolder prepare(const QString& fallbackParent);

    // An unpacking that never ended (its process killed) leaves its scratch files, the package twice
    // over, where no later unpacking need come. This removes them from the current user's scratch
    // folders in the temporary folder, by their names only and through no link, and the private
    // folders they leave empty. Only for a process that knows no other unpacking of its user runs.
    static void removeLeftovers();

    QString path() const { return m_path; }
    bool isValid() const { return !m_path.isEmpty(); }
    // Why no folder could be made, as the system said it (a full disk must not pass for a bad
    // package); 0 for a valid folder.
    int error() const { return m_error; }
    // Removes the folder itself when it is a private one made for this unpacking (and now empty).
    void releaseIfPrivate() const;

private:
    QString m_path;
    bool m_private = false;
    int m_error = 0;
};
