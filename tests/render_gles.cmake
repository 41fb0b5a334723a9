# The shader back end, drawing off screen: no display needed.
qz2_test_suite(render_gles qz2_render_gles qz2_platform_offscreen qz2_platform_fake)
