#include "queue/cpu_limits.h"

#include <sched.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace pipeline {

namespace {

bool ReadWholeFile(const std::string& path, std::string& text) {
    std::ifstream in(path);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    text = s.str();
    return true;
}

bool ParseWhole(const std::string& text, long long& value) {
    size_t b = text.find_first_not_of(" \t\n"), e = text.find_last_not_of(" \t\n");
    if (b == std::string::npos) return false;
    const char* first = text.data() + b;
    const char* last = text.data() + e + 1;
    auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last;
}

// The folder of the cgroup and each of its parents, innermost first: root + "/a/b", root + "/a", root.
std::vector<std::string> CgroupFolders(const std::string& root, const std::string& path) {
    std::vector<std::string> folders;
    std::string p = path;
    while (!p.empty() && p.back() == '/') p.pop_back();
    for (;;) {
        folders.push_back(root + p);
        const size_t slash = p.rfind('/');
        if (slash == std::string::npos || p.empty()) break;
        p.erase(slash);
    }
    return folders;
}

}  // namespace

int AffinityCpus() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) != 0) return 1;
    return std::max(1, CPU_COUNT(&set));
}

int CpusOfQuota(long long quota, long long period) {
    if (quota <= 0 || period <= 0) return 0;
    return static_cast<int>(std::min<long long>((quota + period - 1) / period, kMaxPoolThreads));
}

int CpusOfQuota(const std::string& cpuMax) {
    std::istringstream in(cpuMax);
    std::string quota, period;
    if (!(in >> quota >> period) || quota == "max") return 0;
    long long q = 0, p = 0;
    if (!ParseWhole(quota, q) || !ParseWhole(period, p)) return 0;
    return CpusOfQuota(q, p);
}

int CgroupCpus() {
    std::string table;
    if (!ReadWholeFile("/proc/self/cgroup", table)) return 0;
    int tightest = 0;
    auto take = [&](int cpus) {
        if (cpus > 0) tightest = tightest == 0 ? cpus : std::min(tightest, cpus);
    };
    std::istringstream lines(table);
    for (std::string line; std::getline(lines, line);) {
        // "<id>:<controllers>:<path>"; v2 has id 0 and no controllers.
        const size_t a = line.find(':'), b = line.find(':', a + 1);
        if (a == std::string::npos || b == std::string::npos) continue;
        const std::string controllers = line.substr(a + 1, b - a - 1), path = line.substr(b + 1);
        if (controllers.empty()) {
            for (const std::string& folder : CgroupFolders("/sys/fs/cgroup", path)) {
                std::string text;
                if (ReadWholeFile(folder + "/cpu.max", text)) take(CpusOfQuota(text));
            }
            continue;
        }
        if (("," + controllers + ",").find(",cpu,") == std::string::npos) continue;
        for (const char* mount : {"/sys/fs/cgroup/cpu", "/sys/fs/cgroup/cpu,cpuacct", "/sys/fs/cgroup/cpuacct,cpu"})
            for (const std::string& folder : CgroupFolders(mount, path)) {
                std::string quota, period;
                long long q = 0, p = 0;
                if (ReadWholeFile(folder + "/cpu.cfs_quota_us", quota) && ReadWholeFile(folder + "/cpu.cfs_period_us", period) &&
                    ParseWhole(quota, q) && ParseWhole(period, p))
                    take(CpusOfQuota(q, p));
            }
    }
    return tightest;
}

int PoolThreads(const char* setting, int affinity, int quota, std::string& warning) {
    warning.clear();
    if (setting) {
        long long n = 0;
        if (ParseWhole(setting, n) && n >= 1) {
            if (n > kMaxPoolThreads)
                warning = std::string("MORVATH_THREADS=\"") + setting + "\" is more than the pool's " +
                          std::to_string(kMaxPoolThreads) + " threads; the pool has " + std::to_string(kMaxPoolThreads);
            return static_cast<int>(std::min<long long>(n, kMaxPoolThreads));
        }
        warning = std::string("MORVATH_THREADS=\"") + setting +
                  "\" is not a number of threads (a whole number from 1); the pool follows the CPUs instead";
    }
    int cpus = std::max(1, affinity);
    if (quota > 0) cpus = std::min(cpus, quota);
    return std::min(cpus, kMaxPoolThreads);
}

int PoolThreadsForProcess() {
    std::string warning;
    const int n = PoolThreads(std::getenv("MORVATH_THREADS"), AffinityCpus(), CgroupCpus(), warning);
    if (!warning.empty()) std::fprintf(stderr, "[pipeline] %s\n", warning.c_str());
    return n;
}

}  // namespace pipeline
