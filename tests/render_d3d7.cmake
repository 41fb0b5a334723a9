# The Direct3D 7 back end's rules that need no device, and the texture images both back ends prepare.
qz2_test_suite(render_d3d7 qz2_render_d3d7_rules qz2_render_images qz2_render_recording qz2_content qz2_platform_fake)
