/* A preload library for 32-bit (i386) Linux processes that shifts the real-time clock by the
 * number of seconds in FAKETIME ("-90663", "+3600"), the form in which the end-to-end tests and
 * the faketime wrapper pass a day to the program under test. Monotonic clocks stay as they are,
 * so timers and waits inside Wine behave normally.
 *
 * libfaketime does this for 64-bit processes. Its i386 build misses the 64-bit-time entry
 * points that Debian's 32-bit Wine calls (__clock_gettime64, __gettimeofday64, __time64), so
 * these are wrapped here beside the classic ones. The real clock is read through the kernel's
 * clock_gettime64 call, which leaves the wrapped C library functions out of the way.
 * Built with gcc -m32 -shared -fPIC; loaded through LD_PRELOAD. */
#include <stdio.h>
#include <stdlib.h>
#include <sys/syscall.h>
#include <sys/time.h>
#include <time.h>
#include <unistd.h>

#ifndef __i386__
#error "the 64-bit side of the tests uses libfaketime"
#endif

/* The kernel's and the C library's 64-bit-time structures; on i386 the C library's timespec64
 * has a 32-bit nanosecond field followed by padding, which the kernel's 64-bit field covers. */
struct Timespec64 {
    long long seconds;
    long long nanoseconds;
};
struct Timeval64 {
    long long seconds;
    long long microseconds;
};

enum { kClockGettime64 = 403 };

static long long gShiftSeconds;

__attribute__((constructor)) static void ReadShift(void) {
    const char* text = getenv("FAKETIME");
    char* end = NULL;
    if (text && (*text == '-' || *text == '+'))
        gShiftSeconds = strtoll(text, &end, 10);
    if (!end || *end != '\0') {
        fprintf(stderr, "clock_shift: FAKETIME must hold signed seconds such as -90663, not %s\n",
                text ? text : "nothing");
        abort();
    }
}

static int IsRealTime(clockid_t clock) {
    return clock == CLOCK_REALTIME || clock == CLOCK_REALTIME_COARSE;
}

static int ReadClock(clockid_t clock, struct Timespec64* time) {
    int failed = (int)syscall(kClockGettime64, clock, time);
    if (!failed && IsRealTime(clock))
        time->seconds += gShiftSeconds;
    return failed;
}

int __clock_gettime64(clockid_t clock, struct Timespec64* time) {
    return ReadClock(clock, time);
}

int clock_gettime(clockid_t clock, struct timespec* time) {
    struct Timespec64 wide;
    int failed = ReadClock(clock, &wide);
    if (!failed) {
        time->tv_sec = (time_t)wide.seconds;
        time->tv_nsec = (long)wide.nanoseconds;
    }
    return failed;
}

int __gettimeofday64(struct Timeval64* time, void* zone) {
    (void)zone;
    struct Timespec64 now;
    int failed = ReadClock(CLOCK_REALTIME, &now);
    if (!failed && time) {
        time->seconds = now.seconds;
        time->microseconds = now.nanoseconds / 1000;
    }
    return failed;
}

int gettimeofday(struct timeval* time, void* zone) {
    struct Timeval64 wide;
    int failed = __gettimeofday64(&wide, zone);
    if (!failed) {
        time->tv_sec = (time_t)wide.seconds;
        time->tv_usec = (suseconds_t)wide.microseconds;
    }
    return failed;
}

long long __time64(long long* result) {
    struct Timespec64 now;
    ReadClock(CLOCK_REALTIME, &now);
    if (result)
        *result = now.seconds;
    return now.seconds;
}

time_t time(time_t* result) {
    time_t now = (time_t)__time64(NULL);
    if (result)
        *result = now;
    return now;
}
