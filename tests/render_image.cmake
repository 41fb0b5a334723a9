# The image reader and the rule for which image names load, the same on both platforms.
qz2_test_suite(render_image qz2_render_bmp qz2_content qz2_platform_fake)
