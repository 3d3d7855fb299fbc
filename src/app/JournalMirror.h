#pragma once
// Under systemd, standard error is a stream into the journal, and the event
// log's lines go there as well, so `journalctl -u tarvik` shows the station's
// log. systemd names that stream in JOURNAL_STREAM ("device:inode"); the mirror
// writes only while the descriptor is that very stream, so a station started
// by hand, or one whose standard error was redirected, writes nothing extra.
// Decided once at start; the log writer calls write() under its own lock.

#include <string>

class JournalMirror {
public:
    // Standard error, judged by the environment's JOURNAL_STREAM.
    static JournalMirror ForStandardError();

    // `journalStream` is JOURNAL_STREAM's value, or null when it is not set.
    JournalMirror(int fd, const char* journalStream);

    bool active() const { return fd_ >= 0; }
    // One line, with its line end added, in one write so lines never mix.
    void write(const std::string& line) const;

private:
    int fd_ = -1;
};
