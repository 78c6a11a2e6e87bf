// Stands in for the network command in tests: prints each argument it got as
// "<length>:<bytes>" on a line of its own, then its standard input as
// "stdin:<length>:<bytes>", and ends with the number of arguments as its exit status.
#include <cstdio>
#include <cstring>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char* argv[])
{
#ifdef _WIN32
    // Bytes as they are: no line ends turned into CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    for (int i = 1; i < argc; ++i)
        std::printf("%zu:%s\n", std::strlen(argv[i]), argv[i]);
    std::string input;
    for (int c = 0; (c = std::getchar()) != EOF;)
        input += static_cast<char>(c);
    std::printf("stdin:%zu:", input.size());
    std::fwrite(input.data(), 1, input.size(), stdout);
    std::printf("\n");
    return argc - 1;
}
