#include "coding/TermiosSerialDriver.h"

#include <asm/termbits.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>

namespace {

tcflag_t characterSize(int dataBits) {
    switch (dataBits) {
        case 5: return CS5;
        case 6: return CS6;
        case 7: return CS7;
        default: return CS8;
    }
}

// Pseudo-terminal slaves have majors 136..143 and always report 8 data bits.
bool isPseudoTerminal(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) return false;
    unsigned major = ::major(info.st_rdev);
    return major >= 136 && major <= 143;
}

}  // namespace

void TermiosSerialDriver::Apply(const LineSettings& settings, termios2& tio) {
    // Raw: no input or output processing, or a code 10 (R) would go out as 13 10.
    tio.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY);
    tio.c_oflag &= ~OPOST;
    tio.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS | CBAUD | (CBAUD << IBSHIFT));
    tio.c_cflag |= characterSize(settings.dataBits) | CREAD | CLOCAL | BOTHER | (BOTHER << IBSHIFT);
    if (settings.twoStopBits) tio.c_cflag |= CSTOPB;
    if (settings.parity == 1) tio.c_cflag |= PARENB | PARODD;
    if (settings.parity == 2) tio.c_cflag |= PARENB;
    tio.c_ispeed = settings.speed;
    tio.c_ospeed = settings.speed;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
}

int TermiosSerialDriver::openExclusive(const std::string& devicePath) {
    int fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd, TIOCEXCL) != 0) {
        int reason = errno;
        ::close(fd);
        errno = reason;
        return -1;
    }
    return fd;
}

bool TermiosSerialDriver::probe(const std::string& devicePath) {
    int fd = ::open(devicePath.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return false;
    bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return free;
}

ConfigureResult TermiosSerialDriver::configure(int fd, const LineSettings& settings) {
    termios2 tio{};
    if (::ioctl(fd, TCGETS2, &tio) != 0) return ConfigureResult::Refused;
    Apply(settings, tio);
    if (::ioctl(fd, TCSETS2, &tio) != 0) return ConfigureResult::Refused;
    termios2 kept{};
    if (isPseudoTerminal(fd) || ::ioctl(fd, TCGETS2, &kept) != 0) return ConfigureResult::Applied;
    return (kept.c_cflag & CSIZE) == characterSize(settings.dataBits) ? ConfigureResult::Applied
                                                                       : ConfigureResult::DataBitsNotKept;
}

void TermiosSerialDriver::purge(int fd) { ::ioctl(fd, TCFLSH, TCIOFLUSH); }

WriteResult TermiosSerialDriver::writeByte(int fd, uint8_t byte) {
    ssize_t written = ::write(fd, &byte, 1);
    if (written == 1) return WriteResult::Written;
    if (written == 0 || errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) return WriteResult::Retry;
    return WriteResult::Failed;
}

int TermiosSerialDriver::outputQueued(int fd) {
    int queued = 0;
    if (::ioctl(fd, TIOCOUTQ, &queued) != 0) return 0;
    return queued;
}

bool TermiosSerialDriver::setModemLine(int fd, ModemLine line, bool on) {
    int bits = line == ModemLine::Rts ? TIOCM_RTS : TIOCM_DTR;
    return ::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &bits) == 0;
}

bool TermiosSerialDriver::setBreak(int fd, bool on) { return ::ioctl(fd, on ? TIOCSBRK : TIOCCBRK) == 0; }

void TermiosSerialDriver::close(int fd) {
    // A pseudo-terminal keeps the exclusive flag after its holder is gone.
    ::ioctl(fd, TIOCNXCL);
    ::flock(fd, LOCK_UN);
    ::close(fd);
}
