// Stands in for the network command in tests: prints each argument it got as
// "<length>:<bytes>" on a line of its own, then how many bytes its standard
// input held, and ends with the number of arguments as its exit status.
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char* argv[])
{
#ifdef _WIN32
    // Bytes as they are: no line ends turned into CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    for (int i = 1; i < argc; ++i)
        std::printf("%zu:%s\n", std::strlen(argv[i]), argv[i]);
    std::size_t input = 0;
    while (std::getchar() != EOF)
        ++input;
    std::printf("stdin:%zu\n", input);
    return argc - 1;
}
