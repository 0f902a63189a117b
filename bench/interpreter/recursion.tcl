# Recursion: Fibonacci by tree recursion, and a sum by linear recursion. fib goes
# through addfib as our script must, so both make the same calls.
# The linear sum goes deeper than the default limit of 1000 nested calls.
interp recursionlimit {} 5000

proc fib {n} {
    if {$n < 2} {
        return $n
    }
    return [addfib [expr {$n - 2}] [fib [expr {$n - 1}]]]
}

proc addfib {k known} {
    return [expr {$known + [fib $k]}]
}

proc sum {n} {
    if {$n == 0} {
        return 0
    }
    return [expr {$n + [sum [expr {$n - 1}]]}]
}

proc recurse {} {
    set fib [fib 25]
    set sums 0
    for {set round 0} {$round < 12} {incr round} {
        set sums [expr {$sums + [sum 1500]}]
    }
    return "$fib:$sums"
}
puts [recurse]
