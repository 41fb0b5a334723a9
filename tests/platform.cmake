qz2_test_suite(platform qz2_platform)
