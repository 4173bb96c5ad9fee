#The socket client joins the main loop's further subsystems.
qel_link(engine_net engine_system)
