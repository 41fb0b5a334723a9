# The renderer interface's own layer: the one window and the factory (the recording renderer stands in for a back end).
qz2_test_suite(render_core qz2_render_core qz2_render_recording qz2_platform_fake)
