#include "download_file.h"

int DownloadPercent(unsigned long long received, unsigned long long length)
{
    // Computed in double, narrowed to float, then truncated.
    return int(float(double(received) / double(length) * 100.0));
}
