// The window tests' main. The program runs inside a Wine desktop, whose
// explorer gives back no exit code of its own: the code goes into the file
// named by BRINDELOR_TEST_RC. A run where every test selected was skipped
// ends with 77, for ctest to show it as skipped.

#include "driver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (!brindelor::wintest::waitForWineServices())
        std::printf("note: Wine's late services never all started; the locale may be another process's\n");
    int code = RUN_ALL_TESTS();
    const testing::UnitTest& run = *testing::UnitTest::GetInstance();
    if (code == 0 && run.successful_test_count() == 0 && run.skipped_test_count() > 0)
        code = 77;
    std::fflush(stdout);
    if (const char* file = std::getenv("BRINDELOR_TEST_RC"); file && *file) {
        if (FILE* f = _wfopen(brindelor::wintest::windowsPath(file).c_str(), L"wb")) {
            std::fprintf(f, "%d\n", code);
            std::fclose(f);
        }
    }
    return code;
}
