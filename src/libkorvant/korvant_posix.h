/* The POSIX functions LIBKORVANT exports under their usual names. The mingw
   runtime declares some of the same names with other types, so a program
   that includes its <unistd.h>, <dirent.h> or <getopt.h> should bind these
   through GetProcAddress instead of this header. */
#ifndef KORVANT_POSIX_H
#define KORVANT_POSIX_H

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

struct korvant_dirent {
    long d_ino;
    unsigned short d_reclen;
    unsigned short d_namlen;
    char d_name[260];
};
typedef struct korvant_dir korvant_DIR;

struct korvant_timeval {
    long tv_sec;
    long tv_usec;
};
struct korvant_timezone {
    int tz_minuteswest;
    int tz_dsttime;
};
struct korvant_tms {
    long tms_utime;
    long tms_stime;
    long tms_cutime;
    long tms_cstime;
};
#define KORVANT_UTS_LENGTH 65
struct korvant_utsname {
    char sysname[KORVANT_UTS_LENGTH];
    char nodename[KORVANT_UTS_LENGTH];
    char release[KORVANT_UTS_LENGTH];
    char version[KORVANT_UTS_LENGTH];
    char machine[KORVANT_UTS_LENGTH];
};

#define KORVANT_SC_CLK_TCK 2
#define KORVANT_SC_OPEN_MAX 4
#define KORVANT_PC_NAME_MAX 3

#ifdef KORVANT_DECLARE_POSIX_NAMES
extern char* optarg;
extern int opterr, optind, optopt;
int getopt(int argc, char* const argv[], const char* options);
char* getpass(const char* prompt);
korvant_DIR* opendir(const char* path);
struct korvant_dirent* readdir(korvant_DIR* dir);
int closedir(korvant_DIR* dir);
int gettimeofday(struct korvant_timeval* tv, struct korvant_timezone* tz);
long times(struct korvant_tms* buffer);
int uname(struct korvant_utsname* name);
long sysconf(int name);
long fpathconf(int fd, int name);
int ftruncate(int fd, long length);
int ftruncate64(int fd, int64_t length);
int fseeko64(FILE* stream, int64_t offset, int whence);
int truncate(const char* path, long length);
unsigned sleep(unsigned seconds);
void* sbrk(intptr_t increment);
int strcasecmp(const char* a, const char* b);
int strncasecmp(const char* a, const char* b, size_t n);
#endif

/* Wrappers with POSIX behaviour on Windows files (struct _stat64 and
   struct __utimbuf64 of the C runtime). */
struct _stat64;
struct __utimbuf64;
int unix_nt_stat(const char* path, struct _stat64* buffer);
int unix_nt_fstat(int fd, struct _stat64* buffer);
int unix_nt_utime(const char* path, struct __utimbuf64* times);
FILE* unix_nt_fopen(const char* path, const char* mode);
int unix_nt_rename(const char* from, const char* to);
int unix_nt_unlink(const char* path);
int64_t unix_nt_time(int64_t* out);

#ifdef __cplusplus
}
#endif

#endif
